#include "StringList.h"

#include "AnsiStrings.h"
#include "Exceptions.h"
#include "Streams.h"

#include <algorithm>
#include <numeric>

namespace {

const char* const SortedListError = "Operation not allowed on sorted list";
const char* const DuplicateStringError = "String list does not allow duplicates";

// Runs a batch of changes inside BeginUpdate/EndUpdate, closing the bracket on
// every path. Not a destructor: EndUpdate fires OnChange, which may throw.
template <typename Batch>
void InUpdate(TStrings& strings, Batch&& batch)
{
    strings.BeginUpdate();
    try {
        batch();
    } catch (...) {
        strings.EndUpdate();
        throw;
    }
    strings.EndUpdate();
}

} // namespace

// --- TStrings -------------------------------------------------------------

int TStrings::AddObject(const std::string& text, void* object)
{
    const int index = Count();
    InsertObject(index, text, object);
    return index;
}

int TStrings::IndexOf(const std::string& text) const
{
    for (int i = 0; i < Count(); ++i)
        if (CompareStrings(Get(i), text) == 0)
            return i;
    return -1;
}

void TStrings::Exchange(int index1, int index2)
{
    InUpdate(*this, [&] {
        const std::string text = Get(index1);
        void* const object = GetObject(index1);
        Put(index1, Get(index2));
        PutObject(index1, GetObject(index2));
        Put(index2, text);
        PutObject(index2, object);
    });
}

void TStrings::InsertObject(int index, const std::string& text, void* object)
{
    InUpdate(*this, [&] {
        Insert(index, text);
        PutObject(index, object);
    });
}

int TStrings::IndexOfObject(const void* object) const
{
    for (int i = 0; i < Count(); ++i)
        if (GetObject(i) == object)
            return i;
    return -1;
}

void TStrings::Move(int currentIndex, int newIndex)
{
    if (newIndex < 0 || newIndex >= Count())
        IndexError(newIndex);
    if (currentIndex == newIndex)
        return;
    // Insert the copy before deleting the original, so a list that refuses the
    // insert (a sorted one) is left as it was.
    const std::string text = Get(currentIndex);
    void* const object = GetObject(currentIndex);
    InUpdate(*this, [&] {
        if (newIndex > currentIndex) {
            InsertObject(newIndex + 1, text, object);
            Delete(currentIndex);
        } else {
            InsertObject(newIndex, text, object);
            Delete(currentIndex + 1);
        }
    });
}

void TStrings::Assign(const TStrings& source)
{
    if (&source == this)
        return;
    InUpdate(*this, [&] {
        Clear();
        AddStrings(source);
    });
}

void TStrings::AddStrings(const TStrings& source)
{
    InUpdate(*this, [&] {
        for (int i = 0; i < source.Count(); ++i)
            AddObject(source.Get(i), source.GetObject(i));
    });
}

std::string TStrings::GetText() const
{
    std::string text;
    for (int i = 0; i < Count(); ++i)
        text.append(Get(i)).append("\r\n");
    return text;
}

void TStrings::SetText(const std::string& text)
{
    InUpdate(*this, [&] {
        Clear();
        std::size_t start = 0;
        while (start < text.size()) {
            const std::size_t end = text.find_first_of("\r\n", start);
            if (end == std::string::npos) {
                Add(text.substr(start));
                break;
            }
            Add(text.substr(start, end - start));
            start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
        }
    });
}

void TStrings::LoadFromStream(TStream& stream)
{
    std::string text(static_cast<std::size_t>(std::max<std::int64_t>(stream.Size() - stream.Position(), 0)), '\0');
    stream.ReadBuffer(text.data(), static_cast<std::int64_t>(text.size()));
    SetText(text);
}

void TStrings::SaveToStream(TStream& stream) const
{
    const std::string text = GetText();
    stream.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
}

void TStrings::LoadFromFile(const std::string& path)
{
    TFileStream file(path, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

void TStrings::SaveToFile(const std::string& path) const
{
    TFileStream file(path, fmCreate);
    SaveToStream(file);
}

void TStrings::BeginUpdate()
{
    if (updateCount_ == 0)
        SetUpdateState(true);
    ++updateCount_;
}

void TStrings::EndUpdate()
{
    if (updateCount_ == 0)
        return;
    if (--updateCount_ == 0)
        SetUpdateState(false);
}

void TStrings::SetUpdateState(bool) {}

int TStrings::CompareStrings(const std::string& a, const std::string& b) const { return AnsiCompareText(a, b); }

void TStrings::IndexError(int index)
{
    throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
}

// --- TStringList ----------------------------------------------------------

std::string TStringList::Get(int index) const
{
    CheckIndex(index);
    return items_[index].text;
}

void TStringList::Put(int index, const std::string& text)
{
    CheckNotSorted();
    CheckIndex(index);
    Changing();
    items_[index].text = text;
    Changed();
}

void* TStringList::GetObject(int index) const
{
    CheckIndex(index);
    return items_[index].object;
}

void TStringList::PutObject(int index, void* object)
{
    CheckIndex(index);
    Changing();
    items_[index].object = object;
    Changed();
}

void TStringList::Insert(int index, const std::string& text)
{
    CheckNotSorted();
    if (index < 0 || index > Count())
        IndexError(index);
    InsertItem(index, text, nullptr);
}

void TStringList::Delete(int index)
{
    CheckIndex(index);
    Changing();
    items_.erase(items_.begin() + index);
    Changed();
}

void TStringList::Clear()
{
    if (items_.empty())
        return;
    Changing();
    items_.clear();
    Changed();
}

int TStringList::AddObject(const std::string& text, void* object)
{
    int index = Count();
    if (sorted_ && Find(text, index)) {
        if (duplicates_ == dupIgnore)
            return index;
        if (duplicates_ == dupError)
            throw EStringListError(DuplicateStringError);
    }
    InsertItem(index, text, object);
    return index;
}

int TStringList::IndexOf(const std::string& text) const
{
    if (!sorted_)
        return TStrings::IndexOf(text);
    int index = -1;
    return Find(text, index) ? index : -1;
}

void TStringList::Exchange(int index1, int index2)
{
    CheckIndex(index1);
    CheckIndex(index2);
    Changing();
    std::swap(items_[index1], items_[index2]);
    Changed();
}

bool TStringList::Find(const std::string& text, int& index) const
{
    if (!sorted_) {
        const int found = TStrings::IndexOf(text);
        index = found < 0 ? Count() : found;
        return found >= 0;
    }
    const auto at = std::lower_bound(items_.begin(), items_.end(), text, [this](const Item& item, const std::string& t) {
        return CompareStrings(item.text, t) < 0;
    });
    index = static_cast<int>(at - items_.begin());
    return at != items_.end() && CompareStrings(at->text, text) == 0;
}

void TStringList::Sort()
{
    CustomSort([this](const TStringList&, int index1, int index2) {
        return CompareStrings(items_[index1].text, items_[index2].text);
    });
}

void TStringList::CustomSort(const TStringListSortCompare& compare)
{
    if (items_.size() < 2)
        return;
    // Sort positions rather than items, so the list stays untouched and every
    // index the compare function sees still means what it meant before.
    std::vector<int> order(items_.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) { return compare(*this, a, b) < 0; });

    std::vector<Item> sorted;
    sorted.reserve(items_.size());
    for (const int index : order)
        sorted.push_back(std::move(items_[index]));
    Changing();
    items_ = std::move(sorted);
    Changed();
}

void TStringList::SetSorted(bool sorted)
{
    if (sorted && !sorted_)
        Sort();
    sorted_ = sorted;
}

void TStringList::SetCaseSensitive(bool caseSensitive)
{
    if (caseSensitive == caseSensitive_)
        return;
    caseSensitive_ = caseSensitive;
    if (sorted_)
        Sort();
}

void TStringList::SetUpdateState(bool updating)
{
    const auto& event = updating ? OnChanging : OnChange;
    if (event)
        event();
}

int TStringList::CompareStrings(const std::string& a, const std::string& b) const
{
    return caseSensitive_ ? AnsiCompareStr(a, b) : AnsiCompareText(a, b);
}

void TStringList::Changing()
{
    if (UpdateCount() == 0 && OnChanging)
        OnChanging();
}

void TStringList::Changed()
{
    if (UpdateCount() == 0 && OnChange)
        OnChange();
}

void TStringList::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        IndexError(index);
}

void TStringList::CheckNotSorted() const
{
    if (sorted_)
        throw EStringListError(SortedListError);
}

void TStringList::InsertItem(int index, const std::string& text, void* object)
{
    Changing();
    items_.insert(items_.begin() + index, Item{text, object});
    Changed();
}
