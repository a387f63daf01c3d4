#include "render/RenderOptions.h"

#include <algorithm>
#include <cstddef>

#include "render/FileExtension.h"
#include "render/NumberText.h"
#include "render/ParameterName.h"
#include "render/RenderError.h"

namespace {

// Walks the arguments; an option's value is either the next argument or the
// text after '=' in "--option=value".
class OptionReader {
 public:
  explicit OptionReader(const std::vector<std::string>& arguments) : arguments(arguments) {}

  RenderOptions read() {
    std::vector<std::string> positional;
    bool optionsEnded = false;
    while (position < arguments.size()) {
      const std::string argument = arguments[position++];
      if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
        positional.push_back(argument);
      } else if (argument == "--") {
        optionsEnded = true;
      } else {
        readOption(argument);
      }
    }
    if (helpRequested) {
      options.mode = RenderMode::help;
      return options;
    }
    placePositional(positional);
    return options;
  }

 private:
  void readOption(const std::string& argument) {
    const std::size_t equals = argument.find('=');
    const std::string name = argument.substr(0, equals);
    inlineValue = equals == std::string::npos ? std::nullopt : std::optional(argument.substr(equals + 1));
    if (name == "-h" || name == "--help") {
      helpRequested = true;
    } else if (name == "--list") {
      setMode(RenderMode::list, name);
    } else if (name == "--demo") {
      setMode(RenderMode::demo, name);
      options.demoDirectory = value(name);
    } else if (name == "--snapshot") {
      setMode(RenderMode::snapshot, name);
      options.snapshotPath = pngPath(name, value(name));
    } else if (name == "-o" || name == "--output-dir") {
      setMode(RenderMode::batch, name);
      options.outputDirectory = value(name);
    } else if (name == "--analyse") {
      setMode(RenderMode::analyse, name);
      options.analysisPath = pngPath(name, value(name));
    } else if (name == "--module") {
      options.modulePath = value(name);
    } else if (name == "--archive") {
      options.archivePath = value(name);
    } else if (name == "--param") {
      readParameter(value(name));
    } else if (name == "--pre-gain" || name == "--post-gain" || name == "--pre-bass") {
      addParameter(name.substr(2), value(name));
    } else if (name == "--preset") {
      options.preset = value(name);
    } else if (name == "--block-size") {
      options.blockSize = blockSize(value(name));
    } else if (name == "--sample-rate") {
      options.sampleRate = sampleRate(value(name));
    } else if (name == "--tail") {
      options.longestTail = longestTail(value(name));
    } else if (name == "--format") {
      options.encoding = encoding(value(name));
    } else {
      throw UsageError("unknown option " + name);
    }
    if (inlineValue) throw UsageError(name + " takes no value");
  }

  std::string value(const std::string& name) {
    if (inlineValue) {
      std::string text = *inlineValue;
      inlineValue.reset();
      return text;
    }
    if (position >= arguments.size()) throw UsageError(name + " needs a value");
    return arguments[position++];
  }

  void setMode(RenderMode mode, const std::string& name) {
    if (options.mode != RenderMode::render && options.mode != mode) {
      throw UsageError(name + " cannot be combined with another mode");
    }
    options.mode = mode;
  }

  void readParameter(const std::string& assignment) {
    const std::size_t equals = assignment.find('=');
    if (equals == std::string::npos || equals == 0) {
      throw UsageError("--param needs NAME=VALUE, got \"" + assignment + "\"");
    }
    addParameter(assignment.substr(0, equals), assignment.substr(equals + 1));
  }

  // "Preset" takes a name as well as an index, so it goes the --preset way.
  void addParameter(const std::string& name, const std::string& text) {
    if (parameterNameMatches("Preset", name)) {
      options.preset = text;
      return;
    }
    const std::optional<float> number = floatFromText(text);
    if (!number) throw UsageError("parameter " + name + " needs a number, got \"" + text + "\"");
    options.parameters.push_back({name, *number});
  }

  static int blockSize(const std::string& text) {
    const std::optional<int> size = indexFromText(text);
    if (!size || *size < 1 || *size > RenderOptions::kMaximumBlockSize) {
      throw UsageError("--block-size must be a whole number from 1 to " +
                       std::to_string(RenderOptions::kMaximumBlockSize) + ", got \"" + text + "\"");
    }
    return *size;
  }

  static float sampleRate(const std::string& text) {
    const std::optional<float> rate = floatFromText(text);
    if (!rate || *rate < RenderOptions::kLowestSampleRate || *rate > RenderOptions::kHighestSampleRate) {
      throw UsageError("--sample-rate must be from " + RenderOptions::sampleRateRangeText() + ", got \"" +
                       text + "\"");
    }
    return *rate;
  }

  static double longestTail(const std::string& text) {
    const std::optional<float> seconds = floatFromText(text);
    if (!seconds || *seconds < 0.0f || *seconds > RenderOptions::kLongestTailLimit) {
      throw UsageError("--tail must be from 0 to 3600 seconds, got \"" + text + "\"");
    }
    return *seconds;
  }

  // The pictures are PNG; another name would hide what the file holds.
  static std::string pngPath(const std::string& name, const std::string& path) {
    if (lowerCaseExtension(path) != ".png") {
      throw UsageError(name + " writes a PNG picture: give a .png file name, got \"" + path + "\"");
    }
    return path;
  }

  static SampleEncoding encoding(const std::string& text) {
    if (text == "float") return SampleEncoding::float32;
    if (text == "16") return SampleEncoding::pcm16;
    if (text == "24") return SampleEncoding::pcm24;
    throw UsageError("--format must be float, 16 or 24, got \"" + text + "\"");
  }

  void placePositional(const std::vector<std::string>& positional) {
    switch (options.mode) {
      case RenderMode::render:
        if (positional.size() != 2) throw UsageError("expected INPUT and OUTPUT");
        options.inputPath = positional[0];
        options.outputPath = positional[1];
        refuseSampleRateForFiles();
        if (options.everyPreset())
          throw UsageError("--preset all writes a file per description: use -o OUTDIR");
        break;
      case RenderMode::batch:
        if (positional.empty()) throw UsageError("expected at least one INPUT before -o OUTDIR");
        options.inputPaths = positional;
        if (std::count(positional.begin(), positional.end(), "-") > 0) {
          throw UsageError("standard input (-) is for a single INPUT OUTPUT render, not -o");
        }
        refuseSampleRateForFiles();
        break;
      case RenderMode::list:
      case RenderMode::demo:
      case RenderMode::snapshot:
      case RenderMode::analyse:
        if (!positional.empty()) throw UsageError("unexpected argument " + positional.front());
        break;
      case RenderMode::help:
        break;
    }
  }

  void refuseSampleRateForFiles() const {
    if (options.sampleRate)
      throw UsageError("--sample-rate is for generated input; a file keeps its own rate");
  }

  const std::vector<std::string>& arguments;
  std::size_t position = 0;
  std::optional<std::string> inlineValue;
  bool helpRequested = false;
  RenderOptions options;
};

}  // namespace

bool RenderOptions::everyPreset() const { return preset && foldedParameterName(*preset) == "all"; }

std::string RenderOptions::sampleRateRangeText() {
  return std::to_string(kLowestSampleRate) + " to " + std::to_string(kHighestSampleRate) + " Hz";
}

RenderOptions parseRenderOptions(const std::vector<std::string>& arguments) {
  return OptionReader(arguments).read();
}

std::string renderUsage() {
  return "Usage: torvix-render [options] INPUT OUTPUT\n"
         "       torvix-render [options] INPUT... -o OUTDIR\n"
         "       torvix-render [options] --demo OUTDIR\n"
         "       torvix-render [--module PATH] --list\n"
         "       torvix-render [options] --snapshot FILE.png\n"
         "       torvix-render [options] --analyse FILE.png\n"
         "\n"
         "Renders an audio file through the Torvix Distortion plug-in module, one\n"
         "instance per channel, followed by the effect's tail until it decays.\n"
         "INPUT: WAV, FLAC, AIFF or OGG. OUTPUT: .wav or .flac; - for standard\n"
         "input or output (WAV). With -o, every\n"
         "INPUT is rendered into OUTDIR under its own name (.flac stays .flac,\n"
         "anything else becomes .wav), several files at once.\n"
         "\n"
         "Options:\n"
         "  -o, --output-dir DIR render every INPUT into DIR (made if only its last\n"
         "                       level is missing)\n"
         "  --module PATH        the plug-in module (default: torvix_distortion.so\n"
         "                       beside this program)\n"
         "  --archive PATH       the archive of descriptions and presets to use instead\n"
         "                       of a.zip beside the module\n"
         "  --preset NAME|INDEX  the graph description, by name (\".xml\" optional)\n"
         "                       or zero-based index (default 0)\n"
         "  --param NAME=VALUE   set a parameter by name (\"Pre gain\" or pre-gain),\n"
         "                       VALUE from 0 to 1\n"
         "  --pre-gain V, --post-gain V, --pre-bass V\n"
         "                       shortcuts for --param\n"
         "  --block-size N       samples per processing block (default 512)\n"
         "  --sample-rate HZ     sample rate of generated input (--demo, --analyse;\n"
         "                       default 44100)\n"
         "  --tail SECONDS       the longest tail after the input (default 30); it\n"
         "                       ends once the sound stays below -90 dBFS for 0.1 s\n"
         "  --format F           output samples: float, 16 or 24 (default float for\n"
         "                       WAV, 24 for FLAC)\n"
         "  --list               print the module's names, parameters and descriptions\n"
         "  --demo OUTDIR        render a synthesised guitar riff through every\n"
         "                       description into OUTDIR, with a PNG plot per file\n"
         "                       and a picture of the editor (editor.png)\n"
         "  --snapshot FILE.png  write a picture of the editor with the requested\n"
         "                       preset and parameters\n"
         "  --analyse FILE.png   measure the sound (frequency response, harmonics and\n"
         "                       distortion of a 1 kHz sine, transfer curve, a\n"
         "                       plucked note's level over time) into one picture\n"
         "  -h, --help           print this text\n";
}
