// Whether the point table holds rows that were received, entered, edited or deleted since it was last
// opened, saved, exported or cleared.
#ifndef UNSAVEDROWS_H
#define UNSAVEDROWS_H

class UnsavedRows
{
public:
    void changed() { changed_ = true; }
    void saved() { changed_ = false; }
    // True when a change is pending and the table still has rows to lose.
    bool pending(int row_count) const { return changed_ && row_count > 0; }

private:
    bool changed_ = false;
};

#endif // UNSAVEDROWS_H
