#include "StateEngineFixture.h"

using namespace brevalon;

// The two comparison states A and B: linked until one is copied over the other, then separate.
class ABStates : public StateEngineFixture
{
};

TEST_F (ABStates, LinkedStatesFollowEveryChange)
{
    engine->selectB();
    engine->setValueWithUndo (1, 0.2f);
    engine->selectA();
    EXPECT_FLOAT_EQ (value (1), 0.2f);
    EXPECT_TRUE (engine->isLinked());
}

TEST_F (ABStates, CopiedStatesKeepTheirOwnValues)
{
    engine->copyAToB();
    EXPECT_FALSE (engine->isLinked());
    EXPECT_TRUE (engine->isStatesEqual());
    engine->selectB();
    now += 2000;
    engine->setValueWithUndo (1, 0.2f);
    EXPECT_FALSE (engine->isStatesEqual());
    engine->selectA();
    EXPECT_FLOAT_EQ (value (1), 0.75f);
    engine->selectB();
    EXPECT_FLOAT_EQ (value (1), 0.2f);

    // Undo of a copy over the inactive state restores the record, not the parameters.
    engine->selectA();
    engine->copyAToB();
    EXPECT_FLOAT_EQ (model().states.b().getValue (1), 0.75f);
    engine->undo();
    EXPECT_FLOAT_EQ (model().states.b().getValue (1), 0.2f);
    EXPECT_FLOAT_EQ (value (1), 0.75f);
}

TEST_F (ABStates, UndoingTheFirstCopyLinksAgain)
{
    engine->copyAToB();
    EXPECT_EQ (engine->getUndoDescription(), "Revert A>B to initial state");
    engine->undo();
    EXPECT_TRUE (engine->isLinked());
}

TEST_F (ABStates, SeparatedStateWithBActiveTravelsInTheDocument)
{
    engine->copyAToB();
    engine->selectB();
    now += 2000;
    engine->setValueWithUndo (0, 0.6f);
    std::unique_ptr<StateEngine> restored;
    roundTrip (*engine, restored);
    EXPECT_TRUE (restored->isBActive());
    EXPECT_FALSE (restored->isLinked());
    EXPECT_FLOAT_EQ (restored->getModel().getParameterAt (0)->getNormalised(), 0.6f);
    EXPECT_EQ (restored->getModel().states.a().getValues(), model().states.a().getValues());
}
