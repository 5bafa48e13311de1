#pragma once
// An ordered list of icons, each owned by the list or empty, that tells one
// listener of its changes and streams itself.

#include "GraphicUtils.h"
#include "Graphics.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TStream;

class TIconList {
public:
    TIconList() = default;
    virtual ~TIconList() = default;
    TIconList(const TIconList&) = delete;
    TIconList& operator=(const TIconList&) = delete;

    // Null clears; otherwise clears and adds copies of all the source's icons.
    virtual void Assign(const TIconList* source);
    // Clears and adds a copy of the icon.
    virtual void Assign(const TIcon& icon);

    virtual TIcon* Get(int index) const;
    virtual int GetCount() const { return static_cast<int>(icons_.size()); }
    // An index equal to the count appends an empty slot first; the icon at
    // the index then copies the given one.
    virtual void Put(int index, const TIcon* icon);
    // Appends a copy of the icon (an empty slot for none); returns its index.
    virtual int Add(const TIcon* icon);
    // A missing resource raises "Resource %s not found".
    virtual int AddResource(HINSTANCE module, const ResourceId& name);
    virtual void Clear();
    virtual void Delete(int index);
    virtual void Exchange(int index1, int index2);
    virtual int IndexOf(const TIcon* icon) const;
    virtual void Insert(int index, const TIcon* icon);
    virtual void InsertResource(int index, HINSTANCE module, const ResourceId& name);
    virtual void LoadFromStream(TStream& stream) { ReadData(stream); }
    virtual void Move(int from, int to);
    virtual void SaveToStream(TStream& stream) const { WriteData(stream); }

    // Takes the icon over (an empty slot for none); returns its index.
    int AddIcon(std::unique_ptr<TIcon> icon);
    void BeginUpdate() { SetUpdateState(true); }
    // Leaving the last update tells the listener once; an end without a
    // begin does nothing.
    void EndUpdate() { SetUpdateState(false); }
    void SetUpdateState(bool updating);
    // Adds the named icon resources from names[0] to names[lastIndex].
    void LoadResource(HINSTANCE module, const ResourceId names[], int lastIndex);
    // Clears the list, then one slot per slot read; an icon that fails to
    // load passes its error on, the slots read before it staying.
    void ReadData(TStream& stream);
    void WriteData(TStream& stream) const;

    std::function<void(TIconList& sender)> OnChange;

protected:
    virtual void Changed();
    void IconChanged(TGraphic& sender);

private:
    // An update held open for a scope, closed on every path.
    class Update;
    std::unique_ptr<TIcon> CopyOf(const TIcon* icon);
    std::unique_ptr<TIcon> LoadIconResource(HINSTANCE module, const ResourceId& name);
    void Place(int index, std::unique_ptr<TIcon> icon);
    void CheckIndex(int index, int limit) const;

    std::vector<std::unique_ptr<TIcon>> icons_;
    int updateCount_ = 0;
};
