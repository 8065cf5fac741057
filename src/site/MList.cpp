#include "site/MList.h"

#include "site/BinaryStream.h"

namespace Quorvel1 {

TMList::~TMList()
{
    DestroyAll();
}

void TMList::DestroyAll()
{
    First();
    while (current_)
        TMList::DeleteCurrent();
}

TMListItem* TMList::First()
{
    current_ = head_;
    if (head_)
        currentIndex_ = 0;
    return current_;
}

TMListItem* TMList::Next()
{
    if (!current_ || !current_->Next)
        return nullptr;
    current_ = current_->Next;
    ++currentIndex_;
    return current_;
}

TMListItem* TMList::Seek(std::int16_t index)
{
    TMListItem* item = current_;
    int at = currentIndex_;
    while (item && index < at) {
        item = item->Prev;
        --at;
    }
    while (item && index > at) {
        item = item->Next;
        ++at;
    }
    if (!item)
        return nullptr;
    current_ = item;
    currentIndex_ = index;
    return item;
}

void TMList::Append(std::unique_ptr<TMListItem> owned)
{
    TMListItem* item = owned.release();
    item->Next = nullptr;
    item->Prev = tail_;
    ++count_;
    if (tail_) {
        tail_->Next = item;
        tail_ = item;
    } else {
        head_ = item;
        tail_ = item;
        First();
    }
}

void TMList::Insert(std::unique_ptr<TMListItem> owned)
{
    if (!head_ || !current_) {
        Append(std::move(owned));
        return;
    }
    TMListItem* item = owned.release();
    item->Next = current_;
    item->Prev = current_->Prev;
    if (current_->Prev)
        current_->Prev->Next = item;
    else
        head_ = item;
    current_->Prev = item;
    ++count_;
    ++currentIndex_;
}

std::unique_ptr<TMListItem> TMList::NewItem()
{
    return std::make_unique<TMListItem>();
}

std::unique_ptr<TMListItem> TMList::Unlink()
{
    TMListItem* item = current_;
    if (!item)
        return nullptr;
    if (item->Prev)
        item->Prev->Next = item->Next;
    else
        head_ = item->Next;
    if (item->Next) {
        item->Next->Prev = item->Prev;
        current_ = item->Next;
    } else {
        tail_ = item->Prev;
        current_ = item->Prev;
        --currentIndex_;
    }
    --count_;
    return std::unique_ptr<TMListItem>(item);
}

void TMList::DeleteCurrent()
{
    Unlink();
}

void TMList::Clear()
{
    First();
    while (current_)
        DeleteCurrent();
}

bool TMList::ReadCount(TBinaryStream& stream, std::int16_t& count)
{
    return stream.ReadI16(count);
}

bool TMList::Write(TBinaryStream& stream)
{
    const std::int16_t remembered = currentIndex_;
    if (!stream.WriteI16(count_))
        return false;
    const std::int16_t n = count_;
    TMListItem* item = First();
    for (std::int16_t i = 0; i < n && item; ++i) {
        if (!item->Write(stream))
            return false;
        item = Next();
    }
    Seek(remembered);
    return true;
}

bool TMList::Read(TBinaryStream& stream)
{
    std::int16_t n = 0;
    if (!ReadCount(stream, n))
        return false;
    Clear();
    while (count_ < n) {
        std::unique_ptr<TMListItem> item = NewItem();
        if (!item)
            return true;
        if (!item->Read(stream))
            return false;
        Append(std::move(item));
    }
    return true;
}

void TMList::Print(QTextStream& out)
{
    if (!head_)
        return;
    out << '\n' << Name() << '\n';
    for (TMListItem* item = First(); item; item = Next()) {
        item->Print(out);
        out << '\n';
    }
}

} // namespace Quorvel1
