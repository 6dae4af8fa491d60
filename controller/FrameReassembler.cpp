#include "FrameReassembler.h"

#include <algorithm>
#include <cstring>

int FrameReassembler::Push(const unsigned char* bytes, int count)
{
    const int kept = std::clamp(count, 0, static_cast<int>(sizeof pending_) - size_);
    std::memcpy(pending_ + size_, bytes, static_cast<size_t>(kept));
    size_ += kept;
    return kept;
}

void FrameReassembler::Clear()
{
    size_ = 0;
    droppedBytes_ = 0;
    refused_ = 0;
}

int FrameReassembler::HeaderFrom(int from) const
{
    const unsigned char* header = std::find(pending_ + from, pending_ + size_, kHeader);
    return header == pending_ + size_ ? -1 : static_cast<int>(header - pending_);
}

int FrameReassembler::CompleteLength(int at) const
{
    if (size_ - at < 2) return 0;
    const int length = pending_[at + 1] + 3;
    return size_ - at >= length ? length : 0;
}

void FrameReassembler::GiveUp(int count)
{
    droppedBytes_ += static_cast<unsigned long>(count);
    Drop(count);
}

void FrameReassembler::Drop(int count)
{
    std::memmove(pending_, pending_ + count, static_cast<size_t>(size_ - count));
    size_ -= count;
}
