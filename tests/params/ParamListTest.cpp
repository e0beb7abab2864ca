#include "params/BooleanParameter.h"
#include "params/InvalidParameter.h"
#include "params/LightParamList.h"

#include <gtest/gtest.h>

#include <memory>

using namespace brevalon;

namespace
{
std::unique_ptr<Parameter> makeParameter (const char* id)
{
    return std::make_unique<Parameter> (id, juce::String(), juce::String(), 0.0, 1.0, 0.0, 0);
}
} // namespace

TEST (ParamList, LookupsOutsideTheListGiveTheInvalidParameter)
{
    ParamList manager (4);
    for (int i = 0; i < 4; ++i)
        manager.setParameterAt (i, makeParameter ("p"));
    manager.checkComplete();

    for (const int index : { -1, 4, 1000, std::numeric_limits<int>::min() })
    {
        auto* parameter = manager.getParameterAt (index);
        ASSERT_NE (parameter, nullptr);
        EXPECT_EQ (parameter, &InvalidParameter::get()) << index;
        EXPECT_FALSE (manager.isValidIndex (index));
    }
    for (int index = 0; index < 4; ++index)
    {
        EXPECT_EQ (manager.getParameterAt (index)->getId(), "p");
        EXPECT_TRUE (manager.isValidIndex (index));
    }
    EXPECT_EQ (manager.getCount(), 4);
}

TEST (ParamList, TheInvalidParameterIsSharedAndIgnoresWrites)
{
    ParamList first (1);
    LightParamList second (0);
    auto* invalid = first.getParameterAt (5);
    EXPECT_EQ (invalid, second.getParameterAt (0)) << "one parameter for every list";

    invalid->setNormalised (0.7f);
    invalid->markChanged();
    invalid->setRangeKeepingPosition (0.0, 50.0, 2);
    EXPECT_EQ (invalid->getId(), "invalid");
    EXPECT_EQ (invalid->getNormalised(), 0.0f);
    EXPECT_EQ (invalid->getValue(), 0.0);
    EXPECT_EQ (invalid->getMaximum(), 1.0);
    EXPECT_EQ (invalid->getText(), "0");
    EXPECT_EQ (invalid->getTextWithUnit(), "0");
    EXPECT_FALSE (invalid->testAndClearChangeFlags (Parameter::allFlags));
}

TEST (ParamList, CompletenessAndOwnership)
{
    ParamList list (3);
    EXPECT_FALSE (list.isComplete());
    EXPECT_TRUE (list.setParameterAt (0, makeParameter ("a")));
    EXPECT_TRUE (list.setParameterAt (2, makeParameter ("c")));
    list.checkComplete();
    EXPECT_FALSE (list.isComplete()) << "slot 1 is empty";
    EXPECT_EQ (list.getParameterAt (1), &InvalidParameter::get()) << "an empty slot reads as the invalid parameter";

    // An index outside the capacity stores nothing and leaves the parameter with the caller.
    auto extra = makeParameter ("extra");
    EXPECT_FALSE (list.setParameterAt (3, std::move (extra)));
    ASSERT_NE (extra, nullptr);
    EXPECT_FALSE (list.setParameterAt (-1, std::move (extra)));
    ASSERT_NE (extra, nullptr);

    EXPECT_TRUE (list.setParameterAt (1, std::move (extra)));
    EXPECT_EQ (extra, nullptr);
    list.checkComplete();
    EXPECT_TRUE (list.isComplete());
    EXPECT_EQ (list.getParameterAt (1)->getId(), "extra");

    ParamList empty (0);
    empty.checkComplete();
    EXPECT_TRUE (empty.isComplete());
    EXPECT_EQ (empty.getCount(), 0);
}
