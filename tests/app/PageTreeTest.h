#pragma once
// Main-window tests over small outlines written as shapes: "A(A1,A2),B" is
// page A with its sub pages A1 and A2, then page B, below the root page. Each
// page's text is its title followed by " text".

#include "Application.h"
#include "KeyboardState.h"
#include "PressKey.h"
#include "OutlineOnDiskTest.h"

#include <map>
#include <string>

class PageTreeTest : public OutlineOnDiskTest {
protected:
    void TearDown() override
    {
        SetKeyboardStateProvider(nullptr);
        OutlineOnDiskTest::TearDown();
    }

    // Replaces the pages below the root with the shape's, all collapsed but
    // the root; the root is selected and shown.
    void Build(const std::string& shape)
    {
        Root()->DeleteChildren();
        named_.clear();
        size_t at = 0;
        AddPages(shape, at, Root());
        Root()->Expand(false);
        Select(Root());
        OutlineProperties.FileChanged = 0;
    }
    TTreeNode* N(const std::string& title) const { return named_.at(title); }

    // The pages below the root in the notation Build reads.
    std::string Shape() const { return ShapeOf(Main->Tree->Items().GetFirstNode()->getFirstChild()); }

    // Selects the page as a click does.
    void Select(TTreeNode* page)
    {
        Tree().SetSelected(page);
        Main->TreeClick();
    }

private:
    void AddPages(const std::string& shape, size_t& at, TTreeNode* parent)
    {
        while (at < shape.size() && shape[at] != ')') {
            const size_t end = shape.find_first_of(",()", at);
            const std::string title = shape.substr(at, end - at);
            at = end == std::string::npos ? shape.size() : end;
            TTreeNode* page = Tree().Items().AddChild(parent, title);
            AttachNewPageData(page, title + " text");
            page->SetStateIndex(1);
            named_[title] = page;
            if (at < shape.size() && shape[at] == '(') {
                AddPages(shape, ++at, page);
                ++at;
            }
            if (at < shape.size() && shape[at] == ',')
                ++at;
        }
    }
    static std::string ShapeOf(const TTreeNode* first)
    {
        std::string shape;
        for (const TTreeNode* page = first; page; page = page->getNextSibling()) {
            if (!shape.empty())
                shape += ',';
            shape += page->Text();
            if (page->HasChildren()) {
                shape += '(';
                shape += ShapeOf(page->getFirstChild());
                shape += ')';
            }
        }
        return shape;
    }

    std::map<std::string, TTreeNode*> named_;
};
