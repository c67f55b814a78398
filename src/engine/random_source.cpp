#include "engine/random_source.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#if defined(__linux__)
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#elif defined(_WIN32)
#include <QRandomGenerator>
#elif defined(__APPLE__)
#include <sys/random.h> // getentropy
#else
#include <unistd.h> // getentropy
#endif

namespace zintrova {

bool SystemRandom::Reserve(std::size_t draws)
{
    if (draws > BlockWords) return false;
    if (BlockWords - next_ >= draws) return true;
    // Whatever a failed fill left in the block is thrown away with the unused rest.
    if (!fill_ || !fill_(block_.data(), block_.data() + block_.size())) {
        block_.fill(0);
        next_ = BlockWords;
        return false;
    }
    next_ = 0;
    return true;
}

float SystemRandom::Next()
{
    if (!Reserve(1)) std::abort();
    const std::uint32_t word = block_[next_];
    block_[next_++] = 0; // a used word is not kept around in memory
    return UnitFromBits(word);
}

namespace {

#if defined(__linux__)
enum class Kernel { Filled, Failed, Unavailable };

// The kernel's generator straight through getrandom(2). A kernel without the call (ENOSYS) or a
// sandbox that refuses it (EPERM) leaves /dev/urandom to try.
Kernel FillFromKernel(unsigned char *p, std::size_t left)
{
    while (left > 0) {
        const ssize_t got = getrandom(p, left, 0);
        if (got < 0) {
            if (errno == EINTR) continue;
            return errno == ENOSYS || errno == EPERM ? Kernel::Unavailable : Kernel::Failed;
        }
        p += got;
        left -= static_cast<std::size_t>(got);
    }
    return Kernel::Filled;
}

// The same generator through its device node. The node must be the kernel's random or urandom
// device (character device 1:8 or 1:9), not whatever a sandbox put under that name.
bool FillFromDevice(unsigned char *p, std::size_t left)
{
    const int fd = open("/dev/urandom", O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return false;
    struct stat st {};
    bool ok = fstat(fd, &st) == 0 && S_ISCHR(st.st_mode) && major(st.st_rdev) == 1 &&
              (minor(st.st_rdev) == 8 || minor(st.st_rdev) == 9);
    while (ok && left > 0) {
        const ssize_t got = read(fd, p, left);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            ok = false;
            break;
        }
        p += got;
        left -= static_cast<std::size_t>(got);
    }
    close(fd);
    return ok;
}
#endif

} // namespace

bool SystemRandom::FillRaw(std::uint32_t *begin, std::uint32_t *end)
{
    auto *p = reinterpret_cast<unsigned char *>(begin);
    const std::size_t size = static_cast<std::size_t>(end - begin) * sizeof(std::uint32_t);
#if defined(__linux__)
    switch (FillFromKernel(p, size)) {
    case Kernel::Filled: return true;
    case Kernel::Failed: return false;
    case Kernel::Unavailable: return FillFromDevice(p, size);
    }
    return false;
#elif defined(_WIN32)
    // On Windows Qt's system source is the operating system's own generator.
    (void)p;
    QRandomGenerator::system()->fillRange(begin, static_cast<qsizetype>(end - begin));
    return true;
#else
    // getentropy gives at most 256 bytes per call.
    for (std::size_t done = 0; done < size; done += 256)
        if (getentropy(p + done, std::min<std::size_t>(256, size - done)) != 0) return false;
    return true;
#endif
}

RandomSource &ProgramRandom()
{
    static SystemRandom source;
    return source;
}

float ScriptedRandom::Next()
{
    const float r = draws_.empty() ? 0.0f : draws_[count_ % draws_.size()];
    ++count_;
    return r;
}

} // namespace zintrova
