#pragma once
// The record every page of the tree carries beside its title and icons: its
// text and where the editor's caret was. Each tree node owns exactly one,
// attached when the node is made and freed when the node is deleted.
//
// Portable: the tree holds it as an untyped pointer and the core needs no
// tree control to read or write it.

#include "Streams.h"

#include <cstdint>
#include <memory>
#include <string>

// The expand state a reader found in a file for a page.
enum : std::uint8_t { PageNoChildren = 0, PageCollapsed = 1, PageExpanded = 2 };

struct PageData {
    // An empty body, caret at 0, nothing selected.
    PageData();
    explicit PageData(const std::string& body);
    // Takes the body over without copying it.
    explicit PageData(std::string&& body);
    ~PageData();
    PageData(const PageData&) = delete;
    PageData& operator=(const PageData&) = delete;

    // The page text: plain text with CR LF line ends, as the editor stores it.
    std::unique_ptr<TStringStream> Body;
    // Set only by the outline readers and read right after a load.
    std::uint8_t ExpandState = PageNoChildren;
    // Where the editor's selection was when the page was last left.
    std::int32_t CaretStart = 0;
    std::int32_t SelectionLength = 0;

    const std::string& BodyText() const { return Body->DataString(); }
    void SetBodyText(const std::string& text);

    // How many records exist: every node owns one, so after a deletion this
    // tells whether the deleted branch let go of all of them.
    static long LiveCount();
};
