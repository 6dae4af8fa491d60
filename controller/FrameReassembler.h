#pragma once

// Cuts the robot's byte stream into frames whatever the read boundaries: the bytes a
// read leaves unfinished wait for the next one, and the stream is resynchronised on the
// header byte. Whether a candidate is a real frame is for the caller to decide.
class FrameReassembler {
public:
    static constexpr unsigned char kHeader = 19;
    // Header, count byte, up to 255 payload bytes, checksum.
    static constexpr int kLongestFrame = 258;

    // Keeps as many of the bytes as there is room for and returns that number; after a
    // Drain there is always room for kLongestFrame bytes.
    int Push(const unsigned char* bytes, int count);

    // Offers each complete candidate (from a header byte, as long as its count byte says)
    // to `take(bytes, length)`, which returns true when it took it as a frame. A refused
    // candidate gives up only its header byte, so that a real header inside it is still
    // found. While the first candidate waits for more bytes, a frame taken further on
    // shows that it began at a false header: the bytes before that frame are given up,
    // rather than holding back every frame behind a stray 19 and a large count.
    template <class Take>
    void Drain(Take&& take);

    void Clear();
    unsigned long DroppedBytes() const { return droppedBytes_; }
    unsigned long RefusedCandidates() const { return refused_; }

private:
    int HeaderFrom(int from) const;  // -1 when there is none
    int CompleteLength(int at) const;  // 0 while the candidate at `at` is incomplete
    void GiveUp(int count);
    void Drop(int count);

    unsigned char pending_[2 * kLongestFrame];
    int size_ = 0;
    unsigned long droppedBytes_ = 0;
    unsigned long refused_ = 0;
};

template <class Take>
void FrameReassembler::Drain(Take&& take) {
    for (;;) {
        const int header = HeaderFrom(0);
        GiveUp(header < 0 ? size_ : header);
        if (size_ == 0) return;
        if (const int length = CompleteLength(0)) {
            if (take(pending_, length)) {
                Drop(length);
            } else {
                ++refused_;
                GiveUp(1);
            }
            continue;
        }
        int later = HeaderFrom(1);
        int length = 0;
        while (later > 0 && !((length = CompleteLength(later)) > 0 && take(pending_ + later, length)))
            later = HeaderFrom(later + 1);
        if (later < 0) return;
        ++refused_;
        GiveUp(later);
        Drop(length);
    }
}
