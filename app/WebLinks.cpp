#include "app/WebLinks.h"

#include "net/WebEndpoint.h"
#include "res/CommandIds.h"

namespace {

struct Link {
    UINT command;
    const char* path;
    const char* tag;
};

// The manual, forum and mailing-list pages take the short tag; the host keys on it.
constexpr Link kLinks[] = {
    {ID_HOME_PAGE, "std?VER=", "QV364"},
    {ID_HEAR_ABOUT, "maze.ram?VER=", "QV364"},
    {ID_USER_MANUAL, "redir.php?LOC=manual&VER=", "QV36"},
    {ID_FORUM, "redir.php?LOC=forum&VER=", "QV36"},
    {ID_MAILING_LIST, "redir.php?LOC=maillist&VER=", "QV36"},
};

const Link* Find(UINT command) {
    for (const Link& link : kLinks)
        if (link.command == command)
            return &link;
    return nullptr;
}

} // namespace

WebLinks::WebLinks(const CProfile& profile) : base_(WebEndpoint(profile).Base()) {}

std::string WebLinks::Url(UINT command) const {
    const Link* link = Find(command);
    return link ? base_ + link->path + link->tag : std::string();
}
