#pragma once
#include "OpenInterface.h"

// Cuts the robot's byte stream into frames whatever the read boundaries: the bytes a
// read leaves unfinished wait for the next one, and the stream is resynchronised on the
// header byte. Whether a candidate is a real frame is for the caller to decide.
class FrameReassembler {
public:
    static constexpr unsigned char kHeader = oi::kStreamHeader;
    static constexpr int kLongestFrame = oi::kLongestFrame;

    // Keeps as many of the bytes as there is room for and returns that number; after a
    // Drain there is always room for kLongestFrame bytes.
    int Push(const unsigned char* bytes, int count);

    // Offers each complete candidate (from a header byte, as long as its count byte says)
    // to `take(bytes, length)`, which returns true when it took it as a frame. A refused
    // candidate gives up only its header byte, so that a real header inside it is still
    // found. An incomplete candidate is waited for while `plausible(bytes, available)`
    // says its bytes so far can begin a frame, and is never overtaken by a shorter
    // frame found inside it (a real frame's data can hold a valid-looking frame); once
    // its bytes say otherwise it gives up its header byte at once.
    template <class Take, class Plausible>
    void Drain(Take&& take, Plausible&& plausible);

    void Clear();
    unsigned long DroppedBytes() const { return droppedBytes_; }
    unsigned long RefusedCandidates() const { return refused_; }

private:
    int HeaderFrom(int from) const;    // -1 when there is none
    int CompleteLength(int at) const;  // 0 while the candidate at `at` is incomplete
    void GiveUp(int count);
    void Drop(int count);

    unsigned char pending_[2 * kLongestFrame];
    int size_ = 0;
    unsigned long droppedBytes_ = 0;
    unsigned long refused_ = 0;
};

template <class Take, class Plausible>
void FrameReassembler::Drain(Take&& take, Plausible&& plausible)
{
    for (;;) {
        const int header = HeaderFrom(0);
        GiveUp(header < 0 ? size_ : header);
        if (size_ == 0) return;
        const int length = CompleteLength(0);
        if (length > 0 && take(pending_, length)) {
            Drop(length);
            continue;
        }
        if (length == 0 && plausible(pending_, size_)) return;
        ++refused_;
        GiveUp(1);
    }
}
