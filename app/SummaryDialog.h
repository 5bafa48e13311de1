#pragma once
// The Outline Summary dialog: the open outline's name, author, stored
// properties and two counts; the subject and the description can be edited.
// Made for one use, shown modally; only OK writes back.

#include "Form.h"
#include "StdCtrls.h"

#include <string>

class TSummery : public TForm {
public:
    TSummery();

    TLabel Label3{this, this, "Outline summary"};
    TLabel DbLabel{this, this, "Name: "};
    TLabel Db{this, this};
    TLabel AuthorLabel{this, this, "Author:"};
    TLabel Author{this, this};
    TLabel Label6{this, this, "&Subject: "};
    TEdit SubjectEdit{this, this, "None"};
    TLabel Label7{this, this, "&Description: "};
    TMemo DescriptionEdit{this, this};
    TLabel Label4{this, this, "Outline statistics"};
    TLabel Label1{this, this, "Created:"};
    TLabel Created{this, this};
    TLabel Label2{this, this, "Last modified:"};
    TLabel Modified{this, this};
    TLabel Label8{this, this, "Last saved by:"};
    TLabel Savedby{this, this};
    TLabel Label9{this, this, "Revisions:"};
    TLabel Revisions{this, this};
    TLabel Label10{this, this, "Total pages:"};
    TLabel Total{this, this};
    TLabel Label11{this, this, "File path"};
    TLabel Path{this, this};
    TButton OK{this, this, "OK"};
    TButton Cancel{this, this, "Cancel"};
    TButton BitBtn1{this, this, "&Help"};

    void FormShow();
    void OKClick();
    void SubjectEditClick();
    void DescriptionEditMouseDown();
    void BitBtn1Click();

private:
    void PlaceControls();
    void WireEvents();
};

// Line ends as the memo shows them: a lone LF (as a loaded outline holds it)
// becomes CR LF.
std::string WithCrLf(const std::string& text);
