#include "FrameReassembler.h"

#include <algorithm>
#include <cstring>

int FrameReassembler::Push(const unsigned char* bytes, int count) {
    const int kept = std::clamp(count, 0, static_cast<int>(sizeof pending_) - size_);
    std::memcpy(pending_ + size_, bytes, static_cast<size_t>(kept));
    size_ += kept;
    return kept;
}

int FrameReassembler::NextCandidate(unsigned char* frame) {
    const unsigned char* header = std::find(pending_, pending_ + size_, kHeader);
    const int beforeHeader = static_cast<int>(header - pending_);
    droppedBytes_ += static_cast<unsigned long>(beforeHeader);
    Drop(beforeHeader);
    candidateLength_ = 0;
    if (size_ < 2) return 0;
    const int length = pending_[1] + 3;
    if (size_ < length) return 0;
    std::memcpy(frame, pending_, static_cast<size_t>(length));
    candidateLength_ = length;
    return length;
}

void FrameReassembler::Consume() {
    Drop(candidateLength_);
    candidateLength_ = 0;
}

void FrameReassembler::SkipHeader() {
    if (size_ == 0) return;
    ++droppedBytes_;
    Drop(1);
    candidateLength_ = 0;
}

void FrameReassembler::Clear() {
    size_ = 0;
    candidateLength_ = 0;
    droppedBytes_ = 0;
}

void FrameReassembler::Drop(int count) {
    std::memmove(pending_, pending_ + count, static_cast<size_t>(size_ - count));
    size_ -= count;
}
