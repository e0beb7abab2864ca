#include "app/OutputFile.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>

#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include "app/AudioFileFormats.h"

namespace brevalon::app
{

namespace
{

constexpr std::array<int, 3> cleanupSignals{ SIGINT, SIGTERM, SIGHUP };

// The temporary files a signal handler must delete, in memory allocated before any signal. A slot
// is claimed, its path written, and only then marked armed; the handler reads armed slots only,
// so it never sees a half-written path. It uses nothing but lock-free atomics, unlink() and
// _exit(), all safe in a signal handler.
enum SlotState : int
{
    freeSlot,
    claimedSlot,
    armedSlot
};

struct PendingFile
{
    std::atomic<int> state{ freeSlot };
    char path[PATH_MAX];
};

static_assert (std::atomic<int>::is_always_lock_free);

// The renderer writes one output at a time; the demo two, one after the other.
PendingFile pendingFiles[4];

// After the clean-up the process exits with 128 + the signal's number, the status a shell gives
// a command a signal ended.
void removePendingFilesAndStop (int signalNumber)
{
    for (auto& file : pendingFiles)
        if (file.state.load() == armedSlot)
            ::unlink (file.path);
    ::_exit (128 + signalNumber);
}

// A slot holding `path`, or -1 when none is free or the path does not fit.
int armPending (const juce::File& file)
{
    const auto path = file.getFullPathName().toStdString();
    if (path.size() >= PATH_MAX)
        return -1;
    for (int slot = 0; slot < static_cast<int> (std::size (pendingFiles)); ++slot)
    {
        auto& pending = pendingFiles[slot];
        int expected = freeSlot;
        if (pending.state.compare_exchange_strong (expected, claimedSlot))
        {
            std::memcpy (pending.path, path.c_str(), path.size() + 1);
            pending.state.store (armedSlot);
            return slot;
        }
    }
    jassertfalse;
    return -1;
}

void releasePending (int slot)
{
    if (slot >= 0)
        pendingFiles[slot].state.store (freeSlot);
}

// Holds the cleanup signals back in this thread while a temporary file and its slot change
// together, so that a handler finds either both or neither.
class CleanupSignalsBlocked
{
public:
    CleanupSignalsBlocked()
    {
        sigset_t blocked;
        sigemptyset (&blocked);
        for (const int signalNumber : cleanupSignals)
            sigaddset (&blocked, signalNumber);
        pthread_sigmask (SIG_BLOCK, &blocked, &previous);
    }
    ~CleanupSignalsBlocked() { pthread_sigmask (SIG_SETMASK, &previous, nullptr); }

    CleanupSignalsBlocked (const CleanupSignalsBlocked&) = delete;
    CleanupSignalsBlocked& operator= (const CleanupSignalsBlocked&) = delete;

private:
    sigset_t previous;
};

juce::String randomTemporaryName()
{
    static constexpr char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    juce::String name (".brevalon-");
    for (int i = 0; i < 6; ++i)
        name << letters[juce::Random::getSystemRandom().nextInt (static_cast<int> (std::size (letters)) - 1)];
    return name + ".tmp";
}

juce::String systemError (int error)
{
    return juce::String (std::strerror (error));
}

} // namespace

OutputFile::OutputFile (const juce::File& targetFile, const juce::String& name)
    : target (targetFile),
      displayName (name)
{
}

OutputFile::~OutputFile()
{
    if (temporary == juce::File())
        return;
    const CleanupSignalsBlocked blocked;
    ::unlink (temporary.getFullPathName().toRawUTF8());
    releasePending (pendingSlot);
}

std::unique_ptr<juce::FileOutputStream> OutputFile::openStream (Status& status)
{
    jassert (temporary == juce::File());
    const auto directory = target.getParentDirectory();
    if (! directory.isDirectory())
    {
        status = Status::failure (displayName + ": cannot write: folder " + directory.getFullPathName().quoted() + " does not exist");
        return nullptr;
    }

    // O_EXCL: a name another program holds is never taken over; the next attempt draws another.
    constexpr int attempts = 100;
    for (int attempt = 0; attempt < attempts && temporary == juce::File(); ++attempt)
    {
        const auto candidate = directory.getChildFile (randomTemporaryName());
        const CleanupSignalsBlocked blocked;
        const int descriptor = ::open (candidate.getFullPathName().toRawUTF8(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0)
        {
            ::close (descriptor);
            temporary = candidate;
            pendingSlot = armPending (temporary);
        }
        else if (errno != EEXIST)
        {
            status = Status::failure (displayName + ": cannot write: " + systemError (errno));
            return nullptr;
        }
    }
    if (temporary == juce::File())
    {
        status = Status::failure (displayName + ": cannot write: no free temporary file name in " + directory.getFullPathName().quoted());
        return nullptr;
    }

    auto stream = std::make_unique<juce::FileOutputStream> (temporary, AudioFileFormats::streamBufferBytes);
    if (stream->failedToOpen())
    {
        status = Status::failure (displayName + ": cannot write: " + stream->getStatus().getErrorMessage());
        return nullptr;
    }
    return stream;
}

Status OutputFile::commit()
{
    const CleanupSignalsBlocked blocked;
    // rename() replaces the target in one step: it is either the old file or the new one.
    if (::rename (temporary.getFullPathName().toRawUTF8(), target.getFullPathName().toRawUTF8()) != 0)
        return Status::failure (displayName + ": cannot move the finished file into place: " + systemError (errno));
    releasePending (pendingSlot);
    pendingSlot = -1;
    temporary = juce::File();
    return Status::success();
}

void OutputFile::removeUnfinishedOutputsOnSignals()
{
    struct sigaction action = {};
    action.sa_handler = removePendingFilesAndStop;
    sigfillset (&action.sa_mask); // one handler run at a time
    for (const int signalNumber : cleanupSignals)
    {
        struct sigaction current = {};
        if (sigaction (signalNumber, nullptr, &current) == 0 && current.sa_handler == SIG_IGN)
            continue;
        sigaction (signalNumber, &action, nullptr);
    }
}

} // namespace brevalon::app
