#include "XmlNesting.h"

#include <cstring>

namespace wizard_xml {

namespace {

// The first character after the closing mark, or null when the text ends before it.
const char* After(const char* from, const char* mark)
{
    const char* at = std::strstr(from, mark);
    return at ? at + std::strlen(mark) : nullptr;
}

bool StartsWith(const char* text, const char* prefix) { return std::strncmp(text, prefix, std::strlen(prefix)) == 0; }

}  // namespace

bool NestingWithin(const char* text, int maxDepth)
{
    int depth = 0;
    const char* p = text;
    while (p && *p) {
        if (*p != '<') {
            ++p;
            continue;
        }
        if (StartsWith(p, "<!--")) {
            p = After(p + 4, "-->");
        } else if (StartsWith(p, "<![CDATA[")) {
            p = After(p + 9, "]]>");
        } else if (StartsWith(p, "<?")) {
            p = After(p + 2, "?>");
        } else if (StartsWith(p, "<!")) {
            p = After(p + 2, ">");
        } else if (StartsWith(p, "</")) {
            if (depth > 0) --depth;
            p = After(p + 2, ">");
        } else {
            // A start tag: up to its '>' outside quotes; "/>" closes it at once.
            const char* q = p + 1;
            char quote = 0;
            for (; *q && (quote || *q != '>'); ++q) {
                if (quote) {
                    if (*q == quote) quote = 0;
                } else if (*q == '"' || *q == '\'') {
                    quote = *q;
                }
            }
            if (!*q) break;
            if (q[-1] != '/' && ++depth > maxDepth) return false;
            p = q + 1;
        }
    }
    return true;
}

}  // namespace wizard_xml
