// The safe writer on real files: what a replaced file keeps, the temporary
// files it makes and the leftovers it takes away, which failures are disk
// errors, and the safe copy.
#include "Exceptions.h"
#include "FileHandle.h"
#include "KernelHandle.h"
#include "SafeFileWriter.h"
#include "Streams.h"
#include "TestFolder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace {
void WriteText(TStream& stream, const std::string& text)
{
    stream.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
}

std::string SavingName(const std::string& target, DWORD process)
{
    return target + "." + std::to_string(process) + ".saving";
}

// A process that exists and never runs: the owner of a save still going on.
class SuspendedProcess {
public:
    SuspendedProcess()
    {
        char program[MAX_PATH + 1] = {};
        GetModuleFileNameA(nullptr, program, MAX_PATH);
        std::string line = std::string("\"") + program + "\" --gtest_list_tests";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (CreateProcessA(program, line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                           &startup, &info)) {
            process_.Reset(info.hProcess);
            CloseHandle(info.hThread);
            id_ = info.dwProcessId;
        }
    }
    ~SuspendedProcess() { End(); }
    SuspendedProcess(const SuspendedProcess&) = delete;
    SuspendedProcess& operator=(const SuspendedProcess&) = delete;

    DWORD Id() const { return id_; }
    // Ends it; the handle kept keeps its number from being given to another.
    void End()
    {
        if (process_.Valid() && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.Get(), 0);
            WaitForSingleObject(process_.Get(), INFINITE);
        }
    }

private:
    KernelHandle process_;
    DWORD id_ = 0;
};

class SafeFileWriter : public ::testing::Test {
protected:
    void TearDown() override { SafeWriteFaultsForTests() = SafeWriteFaults{}; }

    std::string Target() const { return folder_ / "Notes.kbf"; }
    SafeWriteResult Write(const std::string& text, std::exception_ptr* thrown = nullptr)
    {
        return WriteFileSafely(Target(), [&](TStream& stream) { WriteText(stream, text); }, thrown);
    }
    std::vector<std::string> Files() const
    {
        std::vector<std::string> names = FilesIn(folder_.Path());
        std::sort(names.begin(), names.end());
        return names;
    }

    TestFolder folder_;
};
} // namespace

TEST_F(SafeFileWriter, AReplacedFileKeepsItsAttributesByTheSystemsReplaceAndByTheRename)
{
    // Wine shows every file as archived and keeps no "not indexed" bit.
    struct Case {
        bool systemReplace;
        DWORD attributes;
    } cases[] = {
        {true, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE},
        {false, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE},
        {true, FILE_ATTRIBUTE_ARCHIVE},
        {false, FILE_ATTRIBUTE_ARCHIVE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.systemReplace ? "system replace" : "rename");
        WriteFileBytes(Target(), "old");
        ASSERT_TRUE(SetFileAttributesA(Target().c_str(), c.attributes));
        ASSERT_EQ(GetFileAttributesA(Target().c_str()), c.attributes);
        SafeWriteFaultsForTests().RefuseSystemReplace = !c.systemReplace;
        EXPECT_EQ(Write("new"), SafeWriteResult::Ok);
        EXPECT_EQ(ReadFileBytes(Target()), "new");
        EXPECT_EQ(GetFileAttributesA(Target().c_str()), c.attributes);
        EXPECT_EQ(Files(), std::vector<std::string>{"Notes.kbf"});
        SetFileAttributesA(Target().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST_F(SafeFileWriter, TheTemporaryFileIsNamedAfterTheTargetAndTheProcess)
{
    WriteFileBytes(Target(), "old");
    std::vector<std::string> during;
    EXPECT_EQ(WriteFileSafely(Target(),
                              [&](TStream& stream) {
                                  WriteText(stream, "new");
                                  during = Files();
                              }),
              SafeWriteResult::Ok);
    EXPECT_EQ(during, (std::vector<std::string>{"Notes.kbf", SavingName("Notes.kbf", GetCurrentProcessId())}));
    EXPECT_EQ(Files(), std::vector<std::string>{"Notes.kbf"});
}

TEST_F(SafeFileWriter, ASaveRemovesItsTargetsLeftoversOfEndedSavesOnly)
{
    SuspendedProcess running;
    SuspendedProcess ended;
    ASSERT_NE(running.Id(), 0u);
    ASSERT_NE(ended.Id(), 0u);
    ended.End();
    const std::string runningSave = SavingName("Notes.kbf", running.Id());
    const std::string endedSave = SavingName("Notes.kbf", ended.Id());
    const std::string heldOpen = SavingName("Notes.kbf", ended.Id() + 1000000);
    const std::vector<std::string> others = {SavingName("Other.kbf", ended.Id()), "Notes.kbf.x12.saving",
                                             "Notes.kbf.saving", endedSave + ".txt"};
    for (const std::string& name : others)
        WriteFileBytes(folder_ / name, "not ours");
    for (const std::string& name : {runningSave, endedSave, heldOpen})
        WriteFileBytes(folder_ / name, "left by a save");
    const KernelHandle reader(CreateFileA((folder_ / heldOpen).c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                          0, nullptr));
    ASSERT_TRUE(reader.Valid());

    SafeWriteFaultsForTests().FailWriteAtByte = 0;
    EXPECT_EQ(Write("failed"), SafeWriteResult::WriteFailed);
    SafeWriteFaultsForTests() = SafeWriteFaults{};
    EXPECT_TRUE(FileExists(folder_ / endedSave)) << "only a successful save cleans up";

    EXPECT_EQ(Write("saved"), SafeWriteResult::Ok);
    std::vector<std::string> expected = others;
    expected.insert(expected.end(), {"Notes.kbf", runningSave, heldOpen});
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Files(), expected);
    for (const std::string& name : others)
        EXPECT_EQ(ReadFileBytes(folder_ / name), "not ours") << name;
}

TEST_F(SafeFileWriter, OnlyAFailedWriteFlushOrCloseIsADiskError)
{
    const auto rethrowing = [](std::exception_ptr error) { return [error](TStream&) { std::rethrow_exception(error); }; };
    struct Case {
        const char* name;
        std::function<void(TStream&)> write;
        SafeWriteFaults faults;
        SafeWriteResult result;
    } cases[] = {
        {"length", rethrowing(std::make_exception_ptr(std::length_error("too many pages"))), {},
         SafeWriteResult::ProducerFailed},
        {"memory", rethrowing(std::make_exception_ptr(std::bad_alloc())), {}, SafeWriteResult::ProducerFailed},
        {"framework", rethrowing(std::make_exception_ptr(EOutOfResources("Failed to Save Stream"))), {},
         SafeWriteResult::ProducerFailed},
        // A write error of the producer's own streams is not one of the file's.
        {"other stream", rethrowing(std::make_exception_ptr(EWriteError("Stream write error"))), {},
         SafeWriteResult::ProducerFailed},
        {"after bytes",
         [](TStream& stream) {
             WriteText(stream, "half");
             throw std::length_error("too many pages");
         },
         {}, SafeWriteResult::ProducerFailed},
        // The file's own write failing counts, whatever the producer makes of it.
        {"disk, passed on", [](TStream& stream) { WriteText(stream, std::string(2 << 20, 'x')); }, {0},
         SafeWriteResult::WriteFailed},
        {"disk, turned into another error",
         [](TStream& stream) {
             try {
                 WriteText(stream, std::string(2 << 20, 'x'));
             } catch (const EWriteError&) {
                 throw EOutOfResources("Failed to Save Stream");
             }
         },
         {0}, SafeWriteResult::WriteFailed},
        {"disk, last block", [](TStream& stream) { WriteText(stream, "short"); }, {0}, SafeWriteResult::WriteFailed},
        {"close", [](TStream& stream) { WriteText(stream, "short"); }, {-1, true}, SafeWriteResult::WriteFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFileBytes(Target(), "old bytes");
        SafeWriteFaultsForTests() = c.faults;
        std::exception_ptr thrown;
        EXPECT_EQ(WriteFileSafely(Target(), c.write, &thrown), c.result);
        SafeWriteFaultsForTests() = SafeWriteFaults{};
        EXPECT_EQ(ReadFileBytes(Target()), "old bytes");
        EXPECT_EQ(Files(), std::vector<std::string>{"Notes.kbf"});
        if (c.result == SafeWriteResult::ProducerFailed) {
            EXPECT_TRUE(thrown != nullptr);
        }
    }
}

TEST_F(SafeFileWriter, WriteStreamSafelyPassesTheProducersOwnErrorOn)
{
    WriteFileBytes(Target(), "old bytes");
    EXPECT_THROW(WriteStreamSafely(Target(), [](TStream&) { throw std::length_error("too many pages"); }),
                 std::length_error);
    SafeWriteFaultsForTests().FailWriteAtByte = 0;
    EXPECT_THROW(WriteStreamSafely(Target(), [](TStream& stream) { WriteText(stream, "new"); }), EWriteError);
    EXPECT_EQ(ReadFileBytes(Target()), "old bytes");
}

TEST_F(SafeFileWriter, ASafeCopyReplacesTheTargetOnlyWithAWholeCopy)
{
    const std::string source = folder_ / "source.txt";
    WriteFileBytes(source, std::string(3 << 20, 's'));
    WriteFileBytes(Target(), "old bytes");
    SafeWriteFaultsForTests().FailWriteAtByte = 1 << 20;
    EXPECT_EQ(CopyFileSafely(source, Target()), SafeWriteResult::WriteFailed);
    SafeWriteFaultsForTests() = SafeWriteFaults{};
    EXPECT_EQ(ReadFileBytes(Target()), "old bytes");

    std::exception_ptr thrown;
    EXPECT_EQ(CopyFileSafely(folder_ / "missing.txt", Target(), &thrown), SafeWriteResult::ProducerFailed);
    EXPECT_THROW(std::rethrow_exception(thrown), EFOpenError);
    EXPECT_EQ(ReadFileBytes(Target()), "old bytes");

    EXPECT_EQ(CopyFileSafely(source, Target()), SafeWriteResult::Ok);
    EXPECT_EQ(ReadFileBytes(Target()), ReadFileBytes(source));
}
