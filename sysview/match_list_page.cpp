#include "match_list_page.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "catalog.h"
#include "field_limits.h"
#include "output.h"

namespace vldr {
namespace {

// The display name of each shown match; none where the system has none.
std::vector<std::optional<std::string>> loadDisplayNames(SQLHSTMT statement, const MatchTable& matches, int shown)
{
    const CatalogNames catalogs = loadCatalogNames(statement);
    std::vector<std::optional<std::string>> names;
    for (int i = 0; i < shown; ++i) {
        std::string name;
        if (getSystemName(statement, catalogs, matches.ids[i], name))
            names.emplace_back(std::move(name));
        else
            names.emplace_back();
    }
    return names;
}

}  // namespace

void writeMatchListPage(SQLHSTMT statement, const MatchTable& matches, const std::string& text)
{
    const int shown = std::min(matches.count, kMaxMatches);
    const std::vector<std::optional<std::string>> displayNames = loadDisplayNames(statement, matches, shown);

    writeHtmlHead("<TITLE>VLDR search results</TITLE>");
    writeFormatted("<CENTER><H3>%d stars found with a name matching &quot;", matches.count);
    writeQueryText(text);
    writeFormatted("&quot;:</H3></CENTER>\n");
    if (matches.count > kMaxMatches) writeFormatted("<BR>Only the first %d matches will be shown.\n<BR>", kMaxMatches);
    for (int i = 0; i < shown; ++i) {
        const std::string& matched = matches.names[i];
        writeFormatted("<BR><A HREF=\"sysview.exe?ID=%d\">%s", matches.ids[i], matched.c_str());
        const std::optional<std::string>& displayName = displayNames[static_cast<std::size_t>(i)];
        if (displayName && *displayName != matched) writeFormatted(" (%s)", displayName->c_str());
        writeFormatted("</A>\n");
    }
    // why: the match list ends after its last link, with no "</BODY></HTML>":
    // it has always ended so, browsers close the page themselves, and the
    // bytes of every page stay as they were.
}

}  // namespace vldr
