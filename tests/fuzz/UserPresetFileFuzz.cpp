#include "FuzzSupport.h"
#include "processor/QuillfenTemplateAudioProcessor.h"
#include "state/ParamManager.h"
#include "state/UserPresetStore.h"

using namespace brevalon;

// "Brevalon.conf", the user-preset file every instance shares: any content is loaded, searched
// for a free slot, reloaded slot by slot, and then written to and deleted from. The first byte
// picks the user slot that is written.
extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    static const SharedFolder folder (fuzz::scratchFolder().getChildFile ("Quillfen"));
    static const UserPresetStore store (folder, "Brevalon.conf");
    folder.createIfMissing();
    store.getFile().replaceWithData (data, size);

    const auto model = QuillfenTemplateAudioProcessor::createParameters();
    store.load (*model);

    const int firstUser = model->programs.getFactoryProgramCount();
    const int userSlots = model->programs.getUserSlotCount();
    for (int slot = firstUser; slot < firstUser + userSlots; ++slot)
        store.reload (*model, slot);

    const int free = store.firstFreeSlot (*model);
    fuzz::require (free == -1 || model->programs.isUserSlot (free), "a free slot outside the user slots");

    const int slot = firstUser + (size > 0 ? data[0] % userSlots : 0);
    store.write (*model, slot);
    store.holdsPreset (*model, slot);
    store.markDeleted (*model, slot);
    store.reload (*model, slot);
    return 0;
}
