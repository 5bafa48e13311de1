#include "IconList.h"

#include "Exceptions.h"
#include "IconListStream.h"
#include "Streams.h"

#include <utility>

class TIconList::Update {
public:
    explicit Update(TIconList& list) : list_(list) { list_.BeginUpdate(); }
    ~Update() { list_.EndUpdate(); }
    Update(const Update&) = delete;
    Update& operator=(const Update&) = delete;

private:
    TIconList& list_;
};

void TIconList::CheckIndex(int index, int limit) const
{
    if (index < 0 || index > limit)
        throw EInvalidArgument(FormatMessageText("List index out of bounds (%s)", std::to_string(index)));
}

std::unique_ptr<TIcon> TIconList::CopyOf(const TIcon* icon)
{
    if (!icon)
        return nullptr;
    auto copy = std::make_unique<TIcon>();
    copy->Assign(*icon);
    return copy;
}

std::unique_ptr<TIcon> TIconList::LoadIconResource(HINSTANCE module, const ResourceId& name)
{
    std::unique_ptr<TIcon> icon = MakeModuleIcon(module, name);
    if (!icon)
        ResourceNotFound(name);
    return icon;
}

void TIconList::Place(int index, std::unique_ptr<TIcon> icon)
{
    CheckIndex(index, GetCount());
    if (icon)
        icon->OnChange = [this](TGraphic& sender) { IconChanged(sender); };
    icons_.insert(icons_.begin() + index, std::move(icon));
    Changed();
}

void TIconList::Assign(const TIconList* source)
{
    if (source == this)
        return;
    Update update(*this);
    Clear();
    if (source) {
        for (const auto& icon : source->icons_)
            Add(icon.get());
    }
}

void TIconList::Assign(const TIcon& icon)
{
    Update update(*this);
    Clear();
    Add(&icon);
}

TIcon* TIconList::Get(int index) const
{
    CheckIndex(index, GetCount() - 1);
    return icons_[static_cast<std::size_t>(index)].get();
}

void TIconList::Put(int index, const TIcon* icon)
{
    CheckIndex(index, GetCount());
    if (index == GetCount())
        AddIcon(nullptr);
    auto& slot = icons_[static_cast<std::size_t>(index)];
    if (!slot) {
        slot = std::make_unique<TIcon>();
        slot->OnChange = [this](TGraphic& sender) { IconChanged(sender); };
    }
    if (icon)
        slot->Assign(*icon);
    else
        slot->SetHandle(nullptr);
}

int TIconList::Add(const TIcon* icon) { return AddIcon(CopyOf(icon)); }

int TIconList::AddIcon(std::unique_ptr<TIcon> icon)
{
    const int index = GetCount();
    Place(index, std::move(icon));
    return index;
}

int TIconList::AddResource(HINSTANCE module, const ResourceId& name)
{
    return AddIcon(LoadIconResource(module, name));
}

void TIconList::Insert(int index, const TIcon* icon) { Place(index, CopyOf(icon)); }

void TIconList::InsertResource(int index, HINSTANCE module, const ResourceId& name)
{
    Place(index, LoadIconResource(module, name));
}

void TIconList::Clear()
{
    Update update(*this);
    for (int i = GetCount() - 1; i >= 0; --i)
        Delete(i);
}

void TIconList::Delete(int index)
{
    CheckIndex(index, GetCount() - 1);
    icons_.erase(icons_.begin() + index);
    Changed();
}

void TIconList::Exchange(int index1, int index2)
{
    CheckIndex(index1, GetCount() - 1);
    CheckIndex(index2, GetCount() - 1);
    std::swap(icons_[static_cast<std::size_t>(index1)], icons_[static_cast<std::size_t>(index2)]);
    Changed();
}

int TIconList::IndexOf(const TIcon* icon) const
{
    for (std::size_t i = 0; i < icons_.size(); ++i) {
        if (icons_[i].get() == icon)
            return static_cast<int>(i);
    }
    return -1;
}

void TIconList::Move(int from, int to)
{
    if (from == to)
        return;
    CheckIndex(from, GetCount() - 1);
    CheckIndex(to, GetCount() - 1);
    std::unique_ptr<TIcon> icon = std::move(icons_[static_cast<std::size_t>(from)]);
    icons_.erase(icons_.begin() + from);
    icons_.insert(icons_.begin() + to, std::move(icon));
    Changed();
}

void TIconList::SetUpdateState(bool updating)
{
    if (updating) {
        ++updateCount_;
    } else if (updateCount_ > 0 && --updateCount_ == 0) {
        Changed();
    }
}

void TIconList::LoadResource(HINSTANCE module, const ResourceId names[], int lastIndex)
{
    Update update(*this);
    for (int i = 0; i <= lastIndex; ++i)
        AddResource(module, names[i]);
}

void TIconList::ReadData(TStream& stream)
{
    Update update(*this);
    Clear();
    ReadIconListData(stream, [this](std::string&& bytes) {
        if (bytes.empty()) {
            AddIcon(nullptr);
            return;
        }
        auto icon = std::make_unique<TIcon>();
        TStringStream data(std::move(bytes));
        icon->LoadFromStream(data);
        AddIcon(std::move(icon));
    });
}

void TIconList::WriteData(TStream& stream) const
{
    std::vector<std::string> slots;
    slots.reserve(icons_.size());
    for (const auto& icon : icons_)
        slots.push_back(icon ? icon->FileImage() : std::string());
    WriteIconListData(stream, slots);
}

void TIconList::Changed()
{
    if (updateCount_ == 0 && OnChange)
        OnChange(*this);
}

void TIconList::IconChanged(TGraphic&) { Changed(); }
