// A 64-bit hash of texts (FNV-1a over their UTF-16 code units), for indexes that must stay small:
// a name or a point kept as 8 bytes instead of its text. Chained, it hashes several texts as one.
#ifndef TEXTHASH_H
#define TEXTHASH_H

#include <QString>

constexpr quint64 kTextHashStart = 14695981039346656037ULL;

inline quint64 text_hash(const QString& text, quint64 hash = kTextHashStart)
{
    for (const QChar c : text) {
        hash ^= c.unicode();
        hash *= 1099511628211ULL;
    }
    return hash;
}

// `hash` with one more code unit: a separator between chained texts.
inline quint64 text_hash(QChar c, quint64 hash)
{
    return (hash ^ c.unicode()) * 1099511628211ULL;
}

#endif // TEXTHASH_H
