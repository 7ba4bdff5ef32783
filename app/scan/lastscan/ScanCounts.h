// The five categories of the one-click scan and what each one found.
#pragma once

namespace OneClick {

// Order of the list rows, the score terms and the stored counts.
enum Part { kRegistry = 0, kEvidence = 1, kJunk = 2, kShortcut = 3, kFileAssoc = 4, kPartCount = 5 };

struct ScanCounts {
    int n[kPartCount] = {};

    int& operator[](Part part) { return n[part]; }
    int operator[](Part part) const { return n[part]; }
    int Total() const { return n[0] + n[1] + n[2] + n[3] + n[4]; }
    bool operator==(const ScanCounts& o) const
    {
        for (int i = 0; i < kPartCount; ++i)
            if (n[i] != o.n[i]) return false;
        return true;
    }
};

}  // namespace OneClick
