#pragma once
// The outline, or the selected page with its branch, as one web page by an
// export profile's settings and the web page options; page states can show
// as small pictures copied beside the page.

#include "OutlineExport.h"
#include "SettingsRecords.h"

#include <array>
#include <functional>
#include <string>

// The fourteen state pictures, one per state but "none", in this folder of
// the program's folder.
inline const char* const ExportImagesFolder = "Export images";

// What a web page export writes with.
struct WebPageExport {
    // Its OutputFile and NumberText hold the page's path and the running
    // outline number while the export runs.
    ExportProfileList& List;
    const ExportSettings& Settings;
    // SupportFolder, OriginalImages, AllowHtml and ExtraHead.
    const TOptionSettings& Options;
    // Where "Export images" lies.
    std::string ProgramFolder;
    // The states whose pictures this export has copied already: each is
    // copied once per page written, not once per page of the outline.
    std::array<bool, 16> CopiedImages{};
    // Copies a state picture (source) beside the page (target), replacing a
    // file of that name there, which may be the person's own: the program
    // gives a copy that never leaves it cut short (the safe writer). Without
    // one no picture is copied; the page refers to them all the same.
    std::function<bool(const std::string& source, const std::string& target)> CopyPicture{};
};

// The whole document, ending in "</HTML>" without a line break; the page's
// bytes as they are to be written.
std::string ExportOutlineHtml(WebPageExport& web, const OutlineToExport& outline, const std::string& outputPath);

// Up to and including "<BODY>"; the title is escaped for the TITLE element.
std::string HtmlPageHead(const std::string& title, const std::string& extraHead);
std::string HtmlPageFoot();

// Tabs, line feeds and runs of blanks shown as they stand, and every other
// character of markup escaped.
std::string HtmlEscapeAll(const std::string& text);
// Tabs, line feeds and runs of blanks shown as they stand; markup the text
// holds stays markup.
std::string HtmlEscapeWhitespace(const std::string& text);
// HtmlEscapeWhitespace when the options allow markup in the text, else HtmlEscapeAll.
std::string HtmlEscapeText(const std::string& text, bool allowHtml);
// Only the ampersand, less-than, greater-than and double quote escaped:
// for TITLE and for attribute values, whatever the options.
std::string HtmlEscapeMarkup(const std::string& text);

// A page text as the web page shows it: each line followed by CR LF.
std::string HtmlBodyLines(const std::string& body);

// The H4 heading of a page of the range, previous being the page before it
// and distance its place after the start page (from 1).
std::string ExportNodeHtml(WebPageExport& web, const PageTreeView& tree, PageTreeView::Page page,
                           PageTreeView::Page previous, long long distance);

// Copies the state's picture beside the page being written (into its support
// folder, with that option) and gives the reference to it relative to the
// page; nothing for "none" and for numbers without a picture. A picture that
// cannot be copied still gets its reference.
std::string CopyStateImage(WebPageExport& web, int state);
