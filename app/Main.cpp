// brevalon-render: runs the Brevalon processor over audio files offline. See --help.

#include "app/CommandLine.h"
#include "app/Console.h"
#include "app/Demo.h"
#include "app/FileRenderer.h"
#include "app/FilterTaps.h"
#include "app/OutputFile.h"
#include "app/PresetSettings.h"

#include <cstdio>

using namespace brevalon::app;

namespace
{

Status run (Command command, Console& console)
{
    if (command.mode == Command::Mode::listPresets)
    {
        std::fputs (presetList().toRawUTF8(), stdout);
        return Status::success();
    }
    if (auto status = applyPresetOrState (command); ! status.ok())
        return status;

    switch (command.mode)
    {
    case Command::Mode::help:
        std::fputs ((helpText() + "\n").toRawUTF8(), stdout);
        return Status::success();
    case Command::Mode::version:
        std::printf ("brevalon-render %s\n", BREVALON_VERSION_STRING);
        return Status::success();
    case Command::Mode::demo:
        return Demo (console).run (command);
    case Command::Mode::printTaps:
        std::fputs (formatTaps (filterTapsFor (command.filter, command.rate)).toRawUTF8(), stdout);
        return Status::success();
    case Command::Mode::exportIr:
        return exportImpulseResponse (command.irFile, command.filter, command.rate, console);
    case Command::Mode::render:
    case Command::Mode::listPresets:
        break;
    }

    FileRenderRequest request;
    request.input = command.input;
    request.output = command.output;
    request.filter = command.filter;
    request.blockSize = command.blockSize;
    request.compensateLatency = command.compensateLatency;
    request.format = command.format;
    request.bits = command.bits;
    return FileRenderer (console).render (request);
}

} // namespace

int main (int argc, char** argv)
{
    OutputFile::removeUnfinishedOutputsOnSignals();
    const auto parsed = parseCommandLine (std::vector<std::string> (argv + 1, argv + argc));
    Console console (parsed.command.quiet);
    const auto status = parsed.status.ok() ? run (parsed.command, console) : parsed.status;
    if (! status.ok())
        console.error (status.message);
    return status.exitCode;
}
