#pragma once

// Cuts the robot's byte stream into candidate frames whatever the read boundaries: the
// bytes a read leaves unfinished wait for the next one, and the stream is resynchronised
// on the header byte. Whether a candidate is a real frame is for the caller to decide.
class FrameReassembler {
public:
    static constexpr unsigned char kHeader = 19;
    // Header, count byte, up to 255 payload bytes, checksum.
    static constexpr int kLongestFrame = 258;

    // Keeps as many of the bytes as there is room for and returns that number; after
    // the candidates have been taken there is always room for kLongestFrame - 1 bytes.
    int Push(const unsigned char* bytes, int count);
    // Copies the next complete candidate, from a header byte, into `frame` and returns
    // its length; 0 when more bytes are needed. Bytes before a header are dropped.
    int NextCandidate(unsigned char* frame);
    // The candidate was a frame: its bytes are done with.
    void Consume();
    // The candidate was not a frame: drop only its header, so that a real header inside
    // it is still found.
    void SkipHeader();
    void Clear();

    unsigned long DroppedBytes() const { return droppedBytes_; }

private:
    void Drop(int count);

    unsigned char pending_[2 * kLongestFrame];
    int size_ = 0;
    int candidateLength_ = 0;
    unsigned long droppedBytes_ = 0;
};
