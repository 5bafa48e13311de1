#pragma once
// A plain window holding one tree view, for the benchmarks that measure it.

#include "Form.h"
#include "TreeView.h"

#include <memory>
#include <string>

class BenchTreeForm : public TForm {
public:
    explicit BenchTreeForm(const std::string& caption)
    {
        CreateParams params;
        params.caption = caption;
        params.width = 400;
        params.height = 600;
        CreateHandle(params);
        tree = std::make_unique<TTreeView>(this, this);
        tree->SetBounds(0, 0, 380, 560);
    }
    std::unique_ptr<TTreeView> tree;
};
