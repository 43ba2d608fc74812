#include "net/VersionCheck.h"

bool VersionCheck::IsUpdate(bool fetched, DWORD httpStatus, std::string_view reply,
                            std::string_view ownCode) {
    if (!fetched || httpStatus < 200 || httpStatus > 299 || reply.size() > kMaxReply)
        return false;
    if (!reply.empty())
        reply.remove_suffix(1);
    return reply != ownCode.substr(0, reply.size());
}
