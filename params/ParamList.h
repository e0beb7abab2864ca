#pragma once

#include "params/Parameter.h"

#include <memory>
#include <vector>

namespace brevalon
{

// A fixed number of index-addressed slots that own their parameters. The owner fills the list
// once, on the thread that builds it, and calls checkComplete; afterwards any thread may look
// parameters up without a lock.
class ParamList
{
public:
    explicit ParamList (int capacity);
    virtual ~ParamList();

    // Takes the parameter into slot index (deleting one already there) and returns true. Outside
    // the capacity nothing is stored, the parameter stays with the caller and the result is false.
    virtual bool setParameterAt (int index, std::unique_ptr<Parameter>&& parameter);

    // The parameter in slot index; the shared invalid parameter for an index outside the list or
    // an empty slot, so the result is never null.
    Parameter* getParameterAt (int index) const noexcept;

    bool isValidIndex (int index) const noexcept { return index >= 0 && index < capacity; }
    // complete becomes true once every slot holds a parameter; it never becomes false again.
    void checkComplete() noexcept;
    bool isComplete() const noexcept { return complete; }
    int getCount() const noexcept { return capacity; }

private:
    std::vector<std::unique_ptr<Parameter>> slots;
    int capacity;
    bool complete = false;

    JUCE_DECLARE_NON_COPYABLE (ParamList)
};

} // namespace brevalon
