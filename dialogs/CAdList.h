#pragma once
#include <string>
#include <string_view>

// One entry of the information pane's page list: a line of fifteen '|'-separated fields.
// Only the page id and the location are used; the other fields are kept as read.
class CAdList {
public:
    enum class Parse { Entry, Comment, Rejected };

    // Reads one line of the list. Comments ('#') and lines with fewer than fourteen '|' give no
    // entry; so do FTP entries and unknown location kinds, which the pane cannot show. The
    // fifteenth field is the rest of the line, '|' included. Local locations are resolved
    // against `htmlFolder` (ending in '/').
    static Parse FromLine(std::string_view line, const std::string& htmlFolder, CAdList& entry);

    std::string kind; // field 12, upper case: "", "FILE", "HTTP" or "HTTPS"
    std::string field15;
    std::string field10;
    std::string pageId; // field 6
    std::string field5;
    std::string field4;
    std::string field3;
    std::string field1;
    std::string field9;
    std::string field8;
    std::string field7;
    std::string field11;
    std::string field14;
    std::string location; // field 13, turned into the address the pane navigates to
    int number = 0;       // field 2
};
