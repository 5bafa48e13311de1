// File paths relative to the outline's folder and back.

#include "RelativePaths.h"

#include "AnsiStrings.h"

#include <gtest/gtest.h>

TEST(RelativePaths, FromAFolderAndBack)
{
    const struct {
        const char* folder;
        const char* path;
        const char* relative;
    } rows[] = {
        {"C:\\Notes", "C:\\Notes\\todo.txt", "todo.txt"},
        {"C:\\Notes\\", "C:\\Notes\\todo.txt", "todo.txt"},
        {"C:\\Notes\\\\", "c:\\NOTES\\todo.txt", "todo.txt"},
        {"C:\\Notes\\Work", "C:\\Notes\\Home\\list.txt", "..\\Home\\list.txt"},
        {"C:\\Notes\\Work", "C:\\Notes\\list.txt", "..\\list.txt"},
        {"C:\\Notes", "C:\\Notes\\Work\\Old\\list.txt", "Work\\Old\\list.txt"},
        {"C:\\", "C:\\list.txt", "list.txt"},
        {"C:\\Notes\\Work", "D:\\Notes\\list.txt", "D:\\Notes\\list.txt"},
        {"\\\\srv\\share\\Notes", "\\\\srv\\share\\Docs\\a.txt", "..\\Docs\\a.txt"},
        {"\\\\srv\\share\\Notes", "\\\\srv\\other\\Notes\\a.txt", "\\\\srv\\other\\Notes\\a.txt"},
        {"C:\\Notes", "\\\\srv\\share\\a.txt", "\\\\srv\\share\\a.txt"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ExtractRelativePath(row.folder, row.path), row.relative) << row.folder << " | " << row.path;
        EXPECT_TRUE(SameText(ExpandRelativePath(row.folder, row.relative), row.path))
            << row.folder << " | " << row.relative;
    }
}

TEST(RelativePaths, ExpandingFoldsStepsAndKeepsAbsolutePaths)
{
    const struct {
        const char* folder;
        const char* path;
        const char* absolute;
    } rows[] = {
        {"C:\\Notes\\Work", "..\\Home\\.\\list.txt", "C:\\Notes\\Home\\list.txt"},
        {"C:\\Notes", "..\\..\\..\\a.txt", "C:\\a.txt"},
        {"C:\\Notes", "\\a.txt", "C:\\a.txt"},
        {"C:\\Notes", "D:\\a.txt", "D:\\a.txt"},
        {"\\\\srv\\share\\Notes", "..\\a.txt", "\\\\srv\\share\\a.txt"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ExpandRelativePath(row.folder, row.path), row.absolute) << row.folder << " | " << row.path;
}
