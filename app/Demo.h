#pragma once

#include "app/CommandLine.h"
#include "app/Console.h"
#include "app/Status.h"

namespace brevalon::app
{

// --demo: synthesises the test signal, writes it as demo-in.wav into the folder, renders it
// like any file into demo-out.wav and prints the latency and the band energies before and after.
class Demo
{
public:
    static constexpr double sampleRate = 96000.0;
    static constexpr double seconds = 10.0;

    explicit Demo (Console& console);
    Status run (const Command& command);

private:
    Console& console;
};

} // namespace brevalon::app
