#pragma once
// Lists of text lines, each with an untyped object slot beside it. TStrings is
// the interface every line list offers (controls expose their lines through
// it too); TStringList keeps its lines in memory and can keep them sorted.

#include <functional>
#include <string>
#include <vector>

class TStream;

class TStrings {
public:
    virtual ~TStrings() = default;

    virtual std::string Get(int index) const = 0;
    virtual void Put(int index, const std::string& text) = 0;
    virtual void* GetObject(int index) const = 0;
    virtual void PutObject(int index, void* object) = 0;
    virtual int Count() const = 0;
    virtual void Insert(int index, const std::string& text) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;

    // Appends, or for a sorted list places the line where it belongs; returns
    // the line's index.
    virtual int AddObject(const std::string& text, void* object);
    // Index of the first line equal to text, case-insensitively; -1 if none.
    virtual int IndexOf(const std::string& text) const;
    virtual void Exchange(int index1, int index2);

    int Add(const std::string& text) { return AddObject(text, nullptr); }
    void InsertObject(int index, const std::string& text, void* object);
    int IndexOfObject(const void* object) const;
    std::string Strings(int index) const { return Get(index); }
    std::string operator[](int index) const { return Get(index); }
    void* Objects(int index) const { return GetObject(index); }
    // The line at currentIndex ends up at newIndex, object and all.
    void Move(int currentIndex, int newIndex);
    // Replaces the lines and objects with copies of source's.
    void Assign(const TStrings& source);
    void AddStrings(const TStrings& source);

    // Every line followed by CR LF.
    std::string GetText() const;
    // Splits at CR LF, lone CR or lone LF. A break at the very end does not
    // start another, empty line.
    void SetText(const std::string& text);

    // Binary: the stream or file holds exactly the bytes of GetText().
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream) const;
    void LoadFromFile(const std::string& path);
    void SaveToFile(const std::string& path) const;

    // Brackets a batch of changes so that listeners hear of it once; nests.
    void BeginUpdate();
    void EndUpdate();

protected:
    // Called when the outermost BeginUpdate starts and its EndUpdate ends.
    virtual void SetUpdateState(bool updating);
    virtual int CompareStrings(const std::string& a, const std::string& b) const;
    int UpdateCount() const { return updateCount_; }
    [[noreturn]] static void IndexError(int index);

private:
    int updateCount_ = 0;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

// Does not own the objects in its slots.
class TStringList : public TStrings {
public:
    // Returns <0, 0 or >0 for the lines at index1 and index2.
    using TStringListSortCompare = std::function<int(const TStringList& list, int index1, int index2)>;

    std::string Get(int index) const override;
    void Put(int index, const std::string& text) override;
    void* GetObject(int index) const override;
    void PutObject(int index, void* object) override;
    int Count() const override { return static_cast<int>(items_.size()); }
    void Insert(int index, const std::string& text) override;
    void Delete(int index) override;
    void Clear() override;
    int AddObject(const std::string& text, void* object) override;
    int IndexOf(const std::string& text) const override;
    void Exchange(int index1, int index2) override;

    // True if a line equal to text exists; index is then the first such line,
    // otherwise where text would be inserted. Binary search on a sorted list.
    bool Find(const std::string& text, int& index) const;
    void Sort();
    void CustomSort(const TStringListSortCompare& compare);

    bool Sorted() const { return sorted_; }
    void SetSorted(bool sorted);
    // Applies to sorted lists only; an unsorted list takes every line.
    TDuplicates Duplicates() const { return duplicates_; }
    void SetDuplicates(TDuplicates duplicates) { duplicates_ = duplicates; }
    bool CaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool caseSensitive);

    // Fired before and after every change, except inside BeginUpdate/EndUpdate,
    // where they fire once at the start and once at the end.
    std::function<void()> OnChanging;
    std::function<void()> OnChange;

protected:
    void SetUpdateState(bool updating) override;
    int CompareStrings(const std::string& a, const std::string& b) const override;

private:
    struct Item {
        std::string text;
        void* object = nullptr;
    };

    void Changing();
    void Changed();
    void CheckIndex(int index) const;
    void CheckNotSorted() const;
    void InsertItem(int index, const std::string& text, void* object);

    std::vector<Item> items_;
    bool sorted_ = false;
    bool caseSensitive_ = false;
    TDuplicates duplicates_ = dupIgnore;
};
