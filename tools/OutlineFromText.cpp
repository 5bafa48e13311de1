// Build tool: turns an outline written as indented text (see OutlineText.h)
// into a ".kbf" file through the program's own writer.
//
//     OutlineFromText <source.txt> <outline.kbf>
//
// The file is stamped with a fixed date and author, so a build makes the same
// bytes from the same text every time.
#include "KbfFormat.h"
#include "OutlineText.h"
#include "Streams.h"

#include <cstdio>
#include <exception>
#include <fstream>
#include <sstream>
#include <string>

namespace {
const char* const StampDate = "1 December 2026 12:00";
const char* const StampAuthor = "Corvane";
}

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: OutlineFromText <source.txt> <outline.kbf>\n");
        return 2;
    }
    std::ifstream source(argv[1], std::ios::binary);
    if (!source) {
        std::fprintf(stderr, "%s: cannot be read\n", argv[1]);
        return 1;
    }
    std::ostringstream text;
    text << source.rdbuf();
    try {
        KbfOutline outline = ParseOutlineText(text.str());
        outline.properties.Created = StampDate;
        TStringStream bytes;
        WriteKbf(bytes, outline, KbfStamp{StampDate, StampAuthor});
        std::ofstream target(argv[2], std::ios::binary | std::ios::trunc);
        target << bytes.DataString();
        if (!target.flush()) {
            std::fprintf(stderr, "%s: cannot be written\n", argv[2]);
            return 1;
        }
    } catch (const OutlineTextError& error) {
        std::fprintf(stderr, "%s:%d: %s\n", argv[1], error.Line(), error.what());
        return 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", argv[1], error.what());
        return 1;
    }
    return 0;
}
