// A test program that crashes says where and ends at once, instead of waiting
// for a debugger that nobody will attach (Wine's default), which would hang
// the test run until its time limit.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>

namespace {
void PrintFrames(const CONTEXT& context)
{
#if defined(_M_X64) || defined(__x86_64__)
    CONTEXT frame = context;
    for (int depth = 0; depth < 32 && frame.Rip; ++depth) {
        std::fprintf(stderr, "  frame %2d: %p\n", depth, reinterpret_cast<void*>(frame.Rip));
        DWORD64 imageBase = 0;
        PRUNTIME_FUNCTION function = RtlLookupFunctionEntry(frame.Rip, &imageBase, nullptr);
        if (!function)
            break;
        void* handlerData = nullptr;
        DWORD64 establisher = 0;
        RtlVirtualUnwind(UNW_FLAG_NHANDLER, imageBase, frame.Rip, function, &frame, &handlerData, &establisher,
                         nullptr);
    }
#else
    std::fprintf(stderr, "  at %p\n", reinterpret_cast<void*>(context.Eip));
#endif
}

LONG WINAPI ReportCrash(EXCEPTION_POINTERS* exception)
{
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::fprintf(stderr, "\nCrash 0x%08lx at %p in %s.%s\n", exception->ExceptionRecord->ExceptionCode,
                 exception->ExceptionRecord->ExceptionAddress, test ? test->test_suite_name() : "-",
                 test ? test->name() : "-");
    PrintFrames(*exception->ContextRecord);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}

class CrashReport : public ::testing::Environment {
public:
    void SetUp() override { SetUnhandledExceptionFilter(ReportCrash); }
};

const auto* const crashReport = ::testing::AddGlobalTestEnvironment(new CrashReport);
}
