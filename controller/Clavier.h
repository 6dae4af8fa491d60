#pragma once

// The key that ends the run. On a terminal, keys arrive one by one without echo while a
// ModeClavier lives; from a pipe or a file, a byte or the end of the input is a key.
class ModeClavier {
public:
    ModeClavier();   // switches a terminal to non-canonical mode without echo
    ~ModeClavier();  // puts the terminal back as it was
    // Around a suspension: the shell gets its terminal as it was, then the keys again.
    void Restaurer();
    void Reprendre();
    ModeClavier(const ModeClavier&) = delete;
    ModeClavier& operator=(const ModeClavier&) = delete;
};

// Non-blocking; the key stays pending until ViderEntree.
bool ToucheAppuyee();
// Drops the pending keys so they do not reach the shell afterwards.
void ViderEntree();
