#include "FuzzSupport.h"
#include "state/GlobalParamList.h"

using namespace brevalon;

// "global.conf", the user-wide settings every instance shares: any content is read on attach,
// read again by a poll after another "instance" changed it, and then saved over.
extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    static const SharedFolder folder (fuzz::scratchFolder().getChildFile ("Quillfen"));
    static juce::int64 now = 0;
    folder.createIfMissing();
    const auto file = folder.getFile (GlobalParamList::fileName);

    // The first half is the file on attach, the whole input what a poll finds later.
    file.replaceWithData (data, size / 2);
    GlobalParamList list (folder, [] { return now; });
    list.attach (GlobalParamList::fileName);

    file.replaceWithData (data, size);
    now += 2 * GlobalSettingsFile::pollIntervalMs;
    list.poll();

    for (int i = 0; i < list.getCount(); ++i)
    {
        const float value = list.getParameterAt (i)->getNormalised();
        fuzz::require (value >= 0.0f && value <= 1.0f, "a setting outside 0..1");
    }
    list.save();
    return 0;
}
