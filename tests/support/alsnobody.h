#pragma once

// Runs as the user "nobody" while it lives, so that file modes count as they do
// for a treasurer (root ignores them). Without root the test runs as such a user already.
class AlsNobody
{
public:
    AlsNobody();
    ~AlsNobody();
    AlsNobody(const AlsNobody &) = delete;
    AlsNobody &operator=(const AlsNobody &) = delete;
    bool ok() const { return m_ok; }

private:
    bool m_root;
    bool m_ok = true;
};
