#include "OutputFile.h"

#include "AudioFileFormats.h"

namespace brevalon::app
{

OutputFile::OutputFile (const juce::File& target, const juce::String& name)
    : temporary (target, juce::TemporaryFile::useHiddenFile),
      displayName (name)
{
}

std::unique_ptr<juce::FileOutputStream> OutputFile::openStream (Status& status) const
{
    const auto directory = temporary.getTargetFile().getParentDirectory();
    if (! directory.isDirectory())
    {
        status = Status::failure (displayName + ": cannot write: folder " + directory.getFullPathName().quoted() + " does not exist");
        return nullptr;
    }

    auto stream = std::make_unique<juce::FileOutputStream> (temporary.getFile(), AudioFileFormats::streamBufferBytes);
    if (stream->failedToOpen())
    {
        status = Status::failure (displayName + ": cannot write: " + stream->getStatus().getErrorMessage());
        return nullptr;
    }
    return stream;
}

Status OutputFile::commit() const
{
    if (! temporary.overwriteTargetFileWithTemporary())
        return Status::failure (displayName + ": cannot move the finished file into place");
    return Status::success();
}

} // namespace brevalon::app
