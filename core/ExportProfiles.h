#pragma once
// The named export profiles printing and saving a copy choose from. They live
// for the run only. (Their settings arrive with the exports.)

class ExportProfileList {
public:
    ExportProfileList() = default;
};
