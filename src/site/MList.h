#pragma once
// An owning doubly linked list of TMListItem with one cursor. The cursor is
// part of the list, so a walk (First, then Next until null) must not be
// nested with another walk of the same list.
//
// List record: signed 16-bit item count, little-endian, then each item's own
// record in list order.
#include "site/MObject.h"

#include <QString>

#include <cstdint>
#include <memory>

namespace Quorvel1 {

class TMList : public TMObject {
public:
    TMList() = default;
    ~TMList() override;

    bool Read(TBinaryStream& stream) override;
    bool Write(TBinaryStream& stream) override;

    // Adds at the tail; on an empty list the cursor goes to the new item.
    virtual void Append(std::unique_ptr<TMListItem> item);
    // Inserts before the cursor item, which keeps the cursor (one index on).
    virtual void Insert(std::unique_ptr<TMListItem> item);
    // A new empty item of the list's item class, for Read; null stops Read.
    virtual std::unique_ptr<TMListItem> NewItem();
    // Takes the cursor item out and hands it to the caller, links unchanged.
    virtual std::unique_ptr<TMListItem> Unlink();
    virtual void DeleteCurrent();
    virtual void Clear();
    virtual QString Name() const { return QStringLiteral("LIST"); }
    virtual void Print(QTextStream& out);

    TMListItem* First();
    TMListItem* Next();
    TMListItem* Seek(std::int16_t index);

    TMListItem* Head() const { return head_; }
    TMListItem* Tail() const { return tail_; }
    TMListItem* Current() const { return current_; }
    std::int16_t Count() const { return count_; }
    std::int16_t CurrentIndex() const { return currentIndex_; }

protected:
    // Record helpers for lists that read their items their own way.
    bool ReadCount(TBinaryStream& stream, std::int16_t& count);

private:
    void DestroyAll();

    TMListItem* head_ = nullptr;
    TMListItem* tail_ = nullptr;
    TMListItem* current_ = nullptr;
    std::int16_t count_ = 0;
    std::int16_t currentIndex_ = -1;
};

} // namespace Quorvel1
