// Every heap of the test program is checked after each test, so that a write
// into freed memory fails the test that made it rather than crashing a later
// one, or none.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {
bool HeapsAreValid()
{
    std::vector<HANDLE> heaps(64);
    DWORD count = GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
    if (count > heaps.size()) {
        heaps.resize(count);
        count = GetProcessHeaps(count, heaps.data());
    }
    for (DWORD index = 0; index < count && index < heaps.size(); ++index) {
        if (!HeapValidate(heaps[index], 0, nullptr))
            return false;
    }
    return true;
}

class HeapCheck : public ::testing::EmptyTestEventListener {
public:
    void OnTestEnd(const ::testing::TestInfo& test) override
    {
        if (firstDamaged_.empty() && !HeapsAreValid())
            firstDamaged_ = std::string(test.test_suite_name()) + "." + test.name();
    }
    const std::string& FirstDamaged() const { return firstDamaged_; }

private:
    std::string firstDamaged_;
};

// The listener reports; the environment's tear-down turns it into a failure
// of the run.
class HeapCheckEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        check_ = new HeapCheck;
        ::testing::UnitTest::GetInstance()->listeners().Append(check_);
    }
    void TearDown() override
    {
        EXPECT_TRUE(check_->FirstDamaged().empty()) << "a heap was damaged by the end of " << check_->FirstDamaged();
        EXPECT_TRUE(HeapsAreValid()) << "a heap is damaged at the end of the run";
    }

private:
    HeapCheck* check_ = nullptr;
};

const auto* const heapCheck = ::testing::AddGlobalTestEnvironment(new HeapCheckEnvironment);
}
