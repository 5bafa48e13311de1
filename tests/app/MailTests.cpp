#include "MainWindowTest.h"

#include "CommandLineSplit.h"
#include "MachineMailClients.h"
#include "Mail.h"
#include "MailtoCommand.h"
#include "ProgramFolder.h"
#include "Registry.h"
#include "ShellOpen.h"
#include "TestFolder.h"

#include <windows.h>

#include <optional>
#include <sstream>

namespace {
class MailTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        SetEnvironmentVariableA("QUILLO_FAKE_MAIL_LOG", log_.c_str());
        SetShellOpenHandler([this](const std::string& target) {
            shellOpened.push_back(target);
            return true;
        });
        OptionSettings.Email = FakeClient;
        clients.SetDllPath(FakeDll());
    }
    void TearDown() override
    {
        SetShellOpenHandler(nullptr);
        SetEnvironmentVariableA("QUILLO_FAKE_MAIL_LOG", nullptr);
        MainWindowTest::TearDown();
    }

    static std::string FakeDll() { return ExeFolder() + "fake_mail_client.dll"; }
    std::string Calls() const { return ReadFileBytes(log_); }
    static std::string Call(const std::string& fields) { return "call\n" + fields; }

    // What the fake client records for a message from Quillo, whose header
    // fields are all left empty.
    static std::string Header(int recipients)
    {
        return "session=0\nparent=window\nflags=9\nreserved=0\nsubject=null\nnote=null\ntype=null\ndate=null\n"
               "conversation=null\nmessageFlags=0\noriginator=null\nrecipients=" +
               std::to_string(recipients) + "\n";
    }
    static std::string Recipient(const std::string& address)
    {
        return "recipient.class=1\nrecipient.name=\"\"\nrecipient.address=\"" + address + "\"\nrecipient.entry=0\n";
    }

    TestFolder folder;
    MachineMailClients clients;
    std::vector<std::string> shellOpened;

private:
    std::string log_ = folder / "mail.log";
};

TEST_F(MailTest, AMessageCarriesExactlyTheAddressAndTheAttachment)
{
    SendMailMapi("ann@example.org", "C:\\out\\Plan.kbf");
    EXPECT_EQ(Calls(), Call(Header(1) + Recipient("ann@example.org") +
                            "files=1\nfile.reserved=0\nfile.flags=0\nfile.position=4294967295\n"
                            "file.path=\"C:\\out\\Plan.kbf\"\nfile.name=\"\"\nfile.type=null\n"));
}

TEST_F(MailTest, EmptyArgumentsStillOpenAnEmptyMessage)
{
    SendMailMapi("", "");
    EXPECT_EQ(Calls(), Call(Header(0) + "files=0\n"));
}

TEST_F(MailTest, SystemDefaultIsTheClientTheMachineNamesAsDefault)
{
    clients.SetString(ClientsKey, "", FakeClient);
    OptionSettings.Email = "System Default";
    SendMailMapi("bob@example.org", "");
    EXPECT_EQ(Calls(), Call(Header(1) + Recipient("bob@example.org") + "files=0\n"));
}

TEST_F(MailTest, AnExpandableDllPathIsExpandedBeforeLoading)
{
    SetEnvironmentVariableA("QUILLO_MAIL_TEST_DIR", ExeFolder().c_str());
    clients.SetDllPath("%QUILLO_MAIL_TEST_DIR%fake_mail_client.dll", true);
    SendMailMapi("", "");
    SetEnvironmentVariableA("QUILLO_MAIL_TEST_DIR", nullptr);
    EXPECT_EQ(Calls(), Call(Header(0) + "files=0\n"));
}

TEST_F(MailTest, AClientThatCannotBeReachedSendsNothing)
{
    struct Row {
        const char* email;
        std::string dllPath;
    };
    // The test program itself loads, but exports no MAPISendMail.
    const Row rows[] = {{"No Such Client", FakeDll()}, {FakeClient.c_str(), ""}, {FakeClient.c_str(), ExePath()},
                        {FakeClient.c_str(), ExeFolder() + "missing.dll"}};
    for (const Row& row : rows) {
        OptionSettings.Email = row.email;
        clients.SetDllPath(row.dllPath);
        SendMailMapi("x@example.org", "");
        EXPECT_EQ(Calls(), "") << row.email << " " << row.dllPath;
    }
}

TEST_F(MailTest, AMailtoLinkGoesToTheChosenClient)
{
    OpenMailto("mailto:ann@example.org?subject=Plan");
    EXPECT_EQ(Calls(), Call(Header(1) + Recipient("ann@example.org?subject=Plan") + "files=0\n"));
    EXPECT_TRUE(shellOpened.empty());

    OptionSettings.Email = "System Default";
    OpenMailto("mailto:bob@example.org");
    EXPECT_EQ(shellOpened, std::vector<std::string>{"mailto:bob@example.org"});
}

TEST_F(MailTest, NotesGetsTheLinkAsOneArgumentWithoutAnInterpreter)
{
    ASSERT_FALSE(clients.NotesExisted());
    OptionSettings.Email = "Lotus Notes";
    const std::string recorded = folder / "arguments.txt";
    SetEnvironmentVariableA("QUILLO_RECORDER_LOG", recorded.c_str());
    const std::string recorder = ExeFolder() + "argument_recorder.exe";
    struct Row {
        std::string command;
        std::string link;
    };
    const Row rows[] = {
        {"\"" + recorder + "\" /mail %1", "mailto:ann@example.org"},
        {"\"" + recorder + "\" \"%1\"", "mailto:a@b.c & \"" + recorder + "\" second"},
        {"\"" + recorder + "\"", "mailto:a@b.c\" \"second"},
    };
    for (const Row& row : rows) {
        DeleteFileA(recorded.c_str());
        clients.SetString(NotesCommandKey, "", row.command);
        OpenMailto(row.link);
        // The recorder writes its file whole, once, and then ends.
        std::string arguments;
        for (int waited = 0; waited < 200 && GetFileAttributesA(recorded.c_str()) == INVALID_FILE_ATTRIBUTES; ++waited)
            Sleep(50);
        arguments = ReadFileBytes(recorded);
        const auto expected = SplitCommandLine(MailtoCommandLine(row.command, row.link));
        std::string expectedText;
        for (size_t i = 1; i < expected.size(); ++i)
            expectedText += expected[i] + "\n";
        EXPECT_EQ(arguments, expectedText) << row.command;
        EXPECT_NE(arguments.find(EncodeLinkForCommand(row.link) + "\n"), std::string::npos);
    }
    SetEnvironmentVariableA("QUILLO_RECORDER_LOG", nullptr);
    EXPECT_EQ(Calls(), "");
}
} // namespace
