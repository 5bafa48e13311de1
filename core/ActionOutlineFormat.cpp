#include "ActionOutlineFormat.h"

#include "Streams.h"

#include <array>
#include <utility>
#include <vector>

namespace {

constexpr std::string_view Magic = "[GP][AO][1.0][01]\x08";
constexpr std::size_t SkippedBytes = 7;

std::string UpToNul(std::string_view bytes)
{
    return std::string(bytes.substr(0, bytes.find('\0')));
}

// The record fields in order, each checked against the bytes left.
class ActionOutlineBytes {
public:
    explicit ActionOutlineBytes(std::string_view bytes) : bytes_(bytes) {}

    bool AtEnd() const { return at_ == bytes_.size(); }
    bool Skip(std::size_t count)
    {
        if (count > Left())
            return false;
        at_ += count;
        return true;
    }
    bool Int32(std::int32_t& value)
    {
        if (Left() < 4)
            return false;
        std::uint32_t bits = 0;
        for (int k = 3; k >= 0; --k)
            bits = (bits << 8) | static_cast<unsigned char>(bytes_[at_ + static_cast<std::size_t>(k)]);
        value = static_cast<std::int32_t>(bits);
        at_ += 4;
        return true;
    }
    bool Field(std::string& text)
    {
        std::int32_t length = 0;
        if (!Int32(length) || length < 0 || static_cast<std::size_t>(length) > Left())
            return false;
        text = UpToNul(bytes_.substr(at_, static_cast<std::size_t>(length)));
        at_ += static_cast<std::size_t>(length);
        return true;
    }

private:
    std::size_t Left() const { return bytes_.size() - at_; }

    std::string_view bytes_;
    std::size_t at_ = 0;
};

// An open branch: the page whose children are still coming, and how many.
struct OpenBranch {
    std::int32_t page;
    std::int32_t childrenLeft;
};

} // namespace

const char* ActionOutlineReadMessage(ActionOutlineReadResult result)
{
    switch (result) {
    case ActionOutlineReadResult::Ok:
        return "";
    case ActionOutlineReadResult::NotActionOutline:
        return "Input file is not valid ActionOutline file!";
    case ActionOutlineReadResult::Corrupted:
        return "Input file is corrupted!";
    }
    return "Input file is corrupted!";
}

std::string ReadStreamString(TStream& stream, std::int64_t n)
{
    std::string bytes(static_cast<std::size_t>(n), '\0');
    stream.ReadBuffer(bytes.data(), n);
    return UpToNul(bytes);
}

std::int32_t ActionOutlineStateOf(std::string& name)
{
    if (name.size() < 3 || name[0] != '\x01' || name[1] != '\x01')
        return 1;
    // Icon codes 2..10; any other code is the state icon itself.
    static constexpr std::array<std::int32_t, 9> States = {2, 9, 11, 10, 12, 13, 14, 15, 3};
    const auto code = static_cast<signed char>(name[2]);
    name.erase(0, 3);
    if (code >= 2 && code <= 10)
        return States[static_cast<std::size_t>(code - 2)];
    return code;
}

ActionOutlineReadResult ReadActionOutline(std::string_view bytes, KbfOutline& outline)
{
    if (outline.pages.empty())
        outline.pages.emplace_back();
    if (bytes.substr(0, Magic.size()) != Magic)
        return ActionOutlineReadResult::NotActionOutline;
    ActionOutlineBytes file(bytes.substr(Magic.size()));
    if (!file.Skip(SkippedBytes))
        return ActionOutlineReadResult::Corrupted;
    std::vector<OpenBranch> open;
    do {
        std::string name;
        std::string body;
        if (!file.Field(name) || !file.Field(body))
            return ActionOutlineReadResult::Corrupted;
        const std::int32_t state = ActionOutlineStateOf(name);
        std::int32_t index = 0;
        if (open.empty()) {
            outline.rootRecordRead = true;
        } else {
            while (!open.empty() && open.back().childrenLeft == 0)
                open.pop_back();
            // The root's whole branch has been read: nothing may follow.
            if (open.empty())
                return ActionOutlineReadResult::Corrupted;
            --open.back().childrenLeft;
            outline.pages.emplace_back();
            outline.pages.back().parent = open.back().page;
            index = static_cast<std::int32_t>(outline.pages.size() - 1);
        }
        KbfPage& page = outline.pages[static_cast<std::size_t>(index)];
        page.title = std::move(name);
        page.body = std::move(body);
        page.state = state;
        std::int32_t children = 0;
        if (!file.Int32(children) || children < 0)
            return ActionOutlineReadResult::Corrupted;
        if (children != 0)
            open.push_back({index, children});
    } while (!file.AtEnd());
    return ActionOutlineReadResult::Ok;
}
