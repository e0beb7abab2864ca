// Every way brevalon-render can be asked for something it cannot do: a non-zero exit code with
// the documented meaning, one line naming the file or option and the reason, and no output file
// (nor a leftover temporary file) in the folder.

#include "RenderTestSupport.h"
#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

using namespace brevalon::test;

namespace
{

constexpr int fileError = 1;
constexpr int usageError = 2;

// Files a case starts from, in a fresh folder.
struct Fixture
{
    TemporaryFolder folder;
    juce::File wav24 = folder.file ("in.wav");       // 96 kHz stereo 24-bit WAV
    juce::File wavFloat = folder.file ("float.wav"); // 96 kHz stereo 32-bit float WAV
    juce::File aiff = folder.file ("in.aiff");       // 96 kHz stereo 24-bit AIFF

    Fixture()
    {
        const auto noise = makeNoise (2, 1000, 1);
        writeAudioFile (wav24, noise, 96000.0, "wav", 24);
        writeAudioFile (wavFloat, noise, 96000.0, "wav", 32);
        writeAudioFile (aiff, noise, 96000.0, "aiff", 24);
    }
};

using Setup = std::function<juce::StringArray (Fixture&)>;

struct BadInputCase
{
    const char* description;
    Setup setup; // creates what the case needs, returns the arguments
    int exitCode;
    const char* messagePart; // must appear in the error line
};

juce::String path (Fixture& f, const char* name)
{
    return f.folder.file (name).getFullPathName();
}

// A 96 kHz stereo PCM WAV of `bits` bits a sample, each stored in `containerBits`, as some
// recorders write 12- or 20-bit audio.
void writePcmWav (const juce::File& file, int bits, int containerBits)
{
    const int frameBytes = 2 * containerBits / 8;
    juce::FileOutputStream out (file);
    out.write ("RIFF", 4);
    out.writeInt (36 + 16 * frameBytes);
    out.write ("WAVEfmt ", 8);
    out.writeInt (16);
    out.writeShort (1);
    out.writeShort (2);
    out.writeInt (96000);
    out.writeInt (96000 * frameBytes);
    out.writeShort (static_cast<short> (frameBytes));
    out.writeShort (static_cast<short> (bits));
    out.write ("data", 4);
    out.writeInt (16 * frameBytes);
    out.writeRepeatedByte (0x10, static_cast<size_t> (16 * frameBytes));
}

// A 64-bit float WAV, which JUCE's reader does not accept.
void writeFloat64Wav (const juce::File& file)
{
    juce::FileOutputStream out (file);
    out.write ("RIFF", 4);
    out.writeInt (4 + 24 + 8 + 16);
    out.write ("WAVEfmt ", 8);
    out.writeInt (16);
    out.writeShort (3);
    out.writeShort (1);
    out.writeInt (96000);
    out.writeInt (96000 * 8);
    out.writeShort (8);
    out.writeShort (64);
    out.write ("data", 4);
    out.writeInt (16);
    out.writeDouble (0.5);
    out.writeDouble (-0.5);
}

const BadInputCase badInputCases[] = {
    // Input files.
    { "missing input",
      [] (Fixture& f) {
          return juce::StringArray{ path (f, "nothing.wav"), path (f, "out.wav") };
      },
      fileError, "nothing.wav: no such file" },
    { "folder as input",
      [] (Fixture& f)
      {
          f.folder.file ("sub").createDirectory();
          return juce::StringArray{ path (f, "sub"), path (f, "out.wav") };
      },
      fileError, "sub: is a folder" },
    { "not audio",
      [] (Fixture& f)
      {
          f.folder.file ("text.wav").replaceWithText ("not a RIFF file at all");
          return juce::StringArray{ path (f, "text.wav"), path (f, "out.wav") };
      },
      fileError, "text.wav: not a WAV, AIFF or FLAC file" },
    { "empty file",
      [] (Fixture& f)
      {
          f.folder.file ("empty.flac").create();
          return juce::StringArray{ path (f, "empty.flac"), path (f, "out.flac") };
      },
      fileError, "empty.flac: not a WAV, AIFF or FLAC file" },
    { "Ogg Vorbis input",
      [] (Fixture& f)
      {
          writeAudioFile (f.folder.file ("in.ogg"), makeNoise (2, 5000, 2, 0.1f), 96000.0, "ogg", 16);
          return juce::StringArray{ path (f, "in.ogg"), path (f, "out.wav") };
      },
      fileError, "in.ogg: not a WAV, AIFF or FLAC file" },
    { "64-bit float WAV input",
      [] (Fixture& f)
      {
          writeFloat64Wav (f.folder.file ("double.wav"));
          return juce::StringArray{ path (f, "double.wav"), path (f, "out.wav") };
      },
      fileError, "double.wav: not a WAV, AIFF or FLAC file" },
    // Sample sizes the readers do not convert are the input's problem, whatever the output.
    { "12-bit WAV input",
      [] (Fixture& f)
      {
          writePcmWav (f.folder.file ("twelve.wav"), 12, 16);
          return juce::StringArray{ path (f, "twelve.wav"), path (f, "out.wav") };
      },
      fileError, "twelve.wav: unsupported bit depth: 12-bit samples (WAV input is read at 8, 16, 24 or 32 bits)" },
    { "20-bit WAV input to FLAC",
      [] (Fixture& f)
      {
          writePcmWav (f.folder.file ("twenty.wav"), 20, 24);
          return juce::StringArray{ path (f, "twenty.wav"), path (f, "out.flac"), "--format", "flac" };
      },
      fileError, "twenty.wav: unsupported bit depth: 20-bit samples" },
    { "no audio frames",
      [] (Fixture& f)
      {
          writeAudioFile (f.folder.file ("nothing-in-it.wav"), juce::AudioBuffer<float> (2, 0), 96000.0, "wav", 24);
          return juce::StringArray{ path (f, "nothing-in-it.wav"), path (f, "out.wav") };
      },
      fileError, "nothing-in-it.wav: has no audio frames" },
    { "a header claiming an hour, without its audio",
      [] (Fixture& f)
      {
          writeWavHeader (f.folder.file ("header-only.wav"), 96000, 2, juce::int64{ 96000 } * 3600);
          return juce::StringArray{ path (f, "header-only.wav"), path (f, "out.wav") };
      },
      fileError, "header-only.wav: has no audio frames; its header claims 345600000 frames (3600.000 s)" },
    { "FLAC cut inside its first frame",
      [] (Fixture& f)
      {
          const auto file = f.folder.file ("cut.flac");
          writeAudioFile (file, makeNoise (2, 20000, 4), 96000.0, "flac", 16);
          juce::FileOutputStream stream (file);
          stream.setPosition (200);
          stream.truncate();
          return juce::StringArray{ path (f, "cut.flac"), path (f, "out.flac") };
      },
      fileError, "cut.flac: has no audio frames; its header claims 20000 frames" },
    { "three channels",
      [] (Fixture& f)
      {
          writeAudioFile (f.folder.file ("three.wav"), makeNoise (3, 1000, 3), 96000.0, "wav", 16);
          return juce::StringArray{ path (f, "three.wav"), path (f, "out.wav") };
      },
      fileError, "three.wav: has 3 channels" },

    // Output files.
    { "output folder missing",
      [] (Fixture& f) {
          return juce::StringArray{ f.wav24.getFullPathName(), path (f, "no/such/out.wav") };
      },
      fileError, "does not exist" },
    { "output is a folder",
      [] (Fixture& f)
      {
          f.folder.file ("outdir").createDirectory();
          return juce::StringArray{ f.wav24.getFullPathName(), path (f, "outdir") };
      },
      fileError, "outdir: is a folder" },
    { "output same path as input",
      [] (Fixture& f) {
          return juce::StringArray{ f.wav24.getFullPathName(), f.wav24.getFullPathName() };
      },
      usageError, "same file as INPUT" },
    { "output same file through ..",
      [] (Fixture& f)
      {
          f.folder.file ("sub").createDirectory();
          return juce::StringArray{ f.wav24.getFullPathName(), path (f, "sub/../in.wav") };
      },
      usageError, "same file as INPUT" },
    { "output same file through a symbolic link",
      [] (Fixture& f)
      {
          f.wav24.createSymbolicLink (f.folder.file ("link.wav"), true);
          return juce::StringArray{ f.wav24.getFullPathName(), path (f, "link.wav") };
      },
      usageError, "same file as INPUT" },
    { "output same file through a hard link",
      [] (Fixture& f)
      {
          std::filesystem::create_hard_link (f.wav24.getFullPathName().toStdString(), path (f, "hard.wav").toStdString());
          return juce::StringArray{ f.wav24.getFullPathName(), path (f, "hard.wav") };
      },
      usageError, "same file as INPUT" },
    { "output extension of another format",
      [] (Fixture& f) {
          return juce::StringArray{ f.wav24.getFullPathName(), path (f, "out.flac") };
      },
      usageError, "out.flac: the extension is FLAC's" },

    // Bit depths the output format cannot store.
    { "FLAC output of a 32-bit input without --bits",
      [] (Fixture& f) {
          return juce::StringArray{ f.wavFloat.getFullPathName(), path (f, "out.flac"), "--format", "flac" };
      },
      usageError, "FLAC cannot store the 32-bit samples of " },
    { "FLAC at 8 bits",
      [] (Fixture& f) { return juce::StringArray{ f.wav24.getFullPathName(), path (f, "out.flac"), "--format", "flac", "--bits", "8" }; },
      usageError, "FLAC cannot store 8-bit samples" },
    { "AIFF at 32 bits",
      [] (Fixture& f) {
          return juce::StringArray{ f.aiff.getFullPathName(), path (f, "out.aiff"), "--bits", "32" };
      },
      usageError, "AIFF cannot store 32-bit samples" },

};

} // namespace

TEST (RenderBadInput, FailsWithOneLineAndLeavesNoOutput)
{
    for (const auto& c : badInputCases)
    {
        SCOPED_TRACE (c.description);
        Fixture fixture;
        const auto arguments = c.setup (fixture);
        const auto before = fixture.folder.contents();
        juce::MemoryBlock inputBytes, inputBytesAfter;
        fixture.wav24.loadFileAsData (inputBytes);

        const auto run = runRenderer (arguments);

        EXPECT_EQ (run.exitCode, c.exitCode) << run.output;
        const auto lines = juce::StringArray::fromLines (run.output.trimEnd());
        EXPECT_EQ (lines.size(), 1) << run.output;
        EXPECT_TRUE (run.output.startsWith ("brevalon-render: ")) << run.output;
        EXPECT_TRUE (run.output.contains (c.messagePart)) << run.output;
        EXPECT_EQ (fixture.folder.contents(), before) << "files appeared or vanished";
        fixture.wav24.loadFileAsData (inputBytesAfter);
        EXPECT_TRUE (inputBytesAfter == inputBytes) << "the input changed";
    }
}

// A failing render leaves an existing output file as it was.
TEST (RenderBadInput, ExistingOutputSurvivesAFailure)
{
    Fixture fixture;
    const auto output = fixture.folder.file ("out.wav");
    output.replaceWithText ("previous result");
    fixture.folder.file ("broken.wav").replaceWithText ("RIFF....WAVEjunk");

    const auto run = runRenderer ({ fixture.folder.file ("broken.wav").getFullPathName(), output.getFullPathName() });

    EXPECT_EQ (run.exitCode, fileError);
    EXPECT_EQ (output.loadFileAsString(), "previous result");
}

// Usage errors the command-line parser finds on its own, checked in-process: a usage exit code
// and one line naming the option and the reason.
TEST (RenderBadInput, ParserRejectsImpossibleCommands)
{
    const struct
    {
        const char* description;
        std::vector<std::string> arguments;
        const char* messagePart;
    } cases[] = {
        { "bit depth no format has", { "in.wav", "out.wav", "--bits", "20" }, "--bits \"20\": must be 8, 16, 24 or 32" },
        { "frequency below range", { "--frequency", "19999.9", "in.wav", "out.wav" }, "--frequency \"19999.9\": out of range" },
        { "frequency above range", { "--frequency=25000.1", "in.wav", "out.wav" }, "--frequency \"25000.1\": out of range" },
        { "frequency with a unit", { "--frequency", "21k", "in.wav", "out.wav" }, "--frequency \"21k\": not a number" },
        { "slope below range", { "--slope", "-1", "in.wav", "out.wav" }, "--slope \"-1\": out of range" },
        { "slope not a number", { "--slope", "nan", "in.wav", "out.wav" }, "--slope \"nan\": not a number" },
        { "mix above range", { "--mix", "100.5", "in.wav", "out.wav" }, "--mix \"100.5\": out of range" },
        { "empty mix", { "--mix=", "in.wav", "out.wav" }, "--mix \"\": not a number" },
        { "block zero", { "--block", "0", "in.wav", "out.wav" }, "--block \"0\": out of range" },
        { "block too large", { "--block", "65537", "in.wav", "out.wav" }, "--block \"65537\": out of range" },
        { "block not an integer", { "--block", "51.2", "in.wav", "out.wav" }, "--block \"51.2\": not an integer" },
        { "unknown format", { "--format", "mp3", "in.wav", "out.wav" }, "must be wav, aiff or flac" },
        { "unknown option", { "--gain", "3", "in.wav", "out.wav" }, "unknown option \"--gain\"" },
        { "unknown short option", { "-q", "in.wav", "out.wav" }, "unknown option \"-q\"" },
        { "missing value at the end", { "in.wav", "out.wav", "--slope" }, "--slope needs a value" },
        { "value taken by the next option", { "--mix", "--bypass", "in.wav", "out.wav" }, "--mix needs a value" },
        { "value given to a switch", { "--bypass=1", "in.wav", "out.wav" }, "--bypass takes no value" },
        { "missing output", { "in.wav" }, "missing OUTPUT" },
        { "third file", { "in.wav", "out.wav", "more.wav" }, "unexpected argument" },
        { "rate without a taps mode", { "--rate", "96000", "in.wav", "out.wav" }, "--rate is used only with" },
        { "export without a rate", { "--export-ir", "out.wav" }, "--export-ir needs --rate" },
        { "export at an unsupported rate", { "--export-ir", "out.wav", "--rate", "48000" }, "--rate \"48000\": out of range" },
        { "two modes", { "--demo", "out.wav", "--print-taps", "--rate", "96000" }, "cannot be combined" },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.description);
        const auto parsed = brevalon::app::parseCommandLine (c.arguments);
        EXPECT_EQ (parsed.status.exitCode, usageError);
        EXPECT_TRUE (parsed.status.message.contains (c.messagePart)) << parsed.status.message;
        EXPECT_FALSE (parsed.status.message.containsChar ('\n')) << parsed.status.message;
    }
}
