#include "engine/secret.h"

namespace zintrova {

namespace {

// The whole allocation of a QString or QByteArray, the unused room before and after the text
// included: a string that shrank or grew in place may have left characters there.
template <class Text> void OverwriteBuffer(Text &text)
{
    auto &d = text.data_ptr();
    auto *first = d.data() - d.freeSpaceAtBegin();
    Overwrite(first, static_cast<std::size_t>(text.capacity()) * sizeof(*first));
}

} // namespace

void Overwrite(void *data, std::size_t size)
{
    volatile unsigned char *p = static_cast<unsigned char *>(data);
    for (std::size_t i = 0; i < size; ++i)
        p[i] = 0;
}

void ReleaseSecret(QString &text)
{
    // Only a buffer of its own is detached: a shared one, and a literal's, count as shared.
    if (text.isDetached()) OverwriteBuffer(text);
    text = QString();
}

void ReleaseSecret(QByteArray &bytes)
{
    if (bytes.isDetached()) OverwriteBuffer(bytes);
    bytes = QByteArray();
}

void ReleaseSecret(std::string &text)
{
    // A short string lives inside the object itself, a long one on the heap: capacity() covers
    // either buffer.
    Overwrite(text.data(), text.capacity());
    text.clear();
    text.shrink_to_fit();
}

} // namespace zintrova
