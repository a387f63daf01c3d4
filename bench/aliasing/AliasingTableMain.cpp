// torvix-aliasing: the aliasing table of the benchmark report. For every description of
// the module's archive, at each rate and tone: the off-harmonic level of a -12 dBFS sine
// and its harmonics 1 to 5, one tab-separated line each. With --wav it reads the output of
// another effect instead (the last 65536 samples of a file rendered from the sine that
// --write-sine writes), so third-party effects are measured the same way.
//
// torvix-aliasing [--module PATH] [--archive-dir DIR] [--rates 44100,48000] [--hertz 1000,2500]
// torvix-aliasing --write-sine FILE.wav --rate R --hertz F
// torvix-aliasing --wav FILE.wav --hertz F [--label NAME]
#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "render/AliasingMeasurement.h"
#include "render/AudioFileReader.h"
#include "render/EffectSetup.h"
#include "render/RenderError.h"

namespace {

// The block size hosts use most; TORVIX_ALIASING_BLOCK overrides it.
int blockSize() {
  const char* text = std::getenv("TORVIX_ALIASING_BLOCK");
  return text ? std::atoi(text) : 512;
}

std::vector<double> numbers(const std::string& list) {
  std::vector<double> values;
  std::stringstream stream(list);
  for (std::string item; std::getline(stream, item, ',');) values.push_back(std::stod(item));
  return values;
}

void printLine(const std::string& label, double rate, double hertz, const ToneSpectrum& spectrum) {
  std::printf("%s\t%.0f\t%.0f\t%.1f", label.c_str(), rate, hertz, spectrum.offHarmonicDb);
  for (double level : spectrum.harmonicDbfs) std::printf("\t%.2f", level);
  std::printf("\n");
}

int writeSine(const std::string& path, double rate, double hertz) {
  const double frequency = coherentHertz(hertz, rate);
  const auto length = static_cast<std::size_t>(AliasingMeasurement::kSettleSeconds * rate) +
                      AliasingMeasurement::kSpectrumSize;
  const double amplitude = std::pow(10.0, AliasingMeasurement::kToneDbfs / 20.0);
  std::vector<float> samples(length);
  for (std::size_t n = 0; n < length; ++n) {
    const double cycles = frequency * static_cast<double>(n % AliasingMeasurement::kSpectrumSize) / rate;
    samples[n] = static_cast<float>(amplitude * std::sin(2.0 * std::numbers::pi * cycles));
  }
  SF_INFO info{};
  info.samplerate = static_cast<int>(rate);
  info.channels = 1;
  info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!file) return 1;
  sf_writef_float(file, samples.data(), static_cast<sf_count_t>(length));
  sf_close(file);
  return 0;
}

int analyseFile(const std::string& path, double hertz, const std::string& label) {
  AudioFileReader reader(path);
  std::vector<float> frames(static_cast<std::size_t>(reader.frames()) * reader.channels());
  reader.read(frames.data(), reader.frames());
  std::vector<float> first(frames.size() / reader.channels());
  for (std::size_t n = 0; n < first.size(); ++n) first[n] = frames[n * reader.channels()];
  if (first.size() < AliasingMeasurement::kSpectrumSize) return 1;
  const double frequency = coherentHertz(hertz, reader.sampleRate());
  const float* end = first.data() + first.size() - AliasingMeasurement::kSpectrumSize;
  printLine(label, reader.sampleRate(), hertz, analyseTone(end, frequency, reader.sampleRate()));
  return 0;
}

int measureModule(const std::string& modulePath, const std::string& archiveDirectory,
                  const std::vector<double>& rates, const std::vector<double>& tones) {
  EffectModule module(modulePath, archiveDirectory);
  const PresetCatalogue catalogue = probeModuleCatalogue(module);
  if (catalogue.descriptions().empty()) {
    // Another effect: measured as it starts, labelled by its file.
    const std::string label = std::filesystem::path(modulePath).stem().string();
    for (double rate : rates) {
      for (double hertz : tones)
        printLine(label, rate, hertz, measureTone(module, {}, static_cast<float>(rate), blockSize(), hertz));
    }
    return 0;
  }
  for (const int index : renderableDescriptions(catalogue, std::cerr)) {
    const std::string& name = catalogue.descriptions()[index].name;
    const EffectSettings settings = resolveModuleSettings(module, name, {});
    for (double rate : rates) {
      for (double hertz : tones)
        printLine(name, rate, hertz,
                  measureTone(module, settings, static_cast<float>(rate), blockSize(), hertz));
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  std::string modulePath = defaultModulePath(), archiveDirectory, wav, sine, label = "file";
  std::vector<double> rates{44100.0}, tones{1000.0, 2500.0};
  try {
    for (std::size_t i = 0; i + 1 < args.size(); i += 2) {
      const std::string& option = args[i];
      const std::string& value = args[i + 1];
      if (option == "--module")
        modulePath = value;
      else if (option == "--archive-dir")
        archiveDirectory = value;
      else if (option == "--rates" || option == "--rate")
        rates = numbers(value);
      else if (option == "--hertz")
        tones = numbers(value);
      else if (option == "--wav")
        wav = value;
      else if (option == "--write-sine")
        sine = value;
      else if (option == "--label")
        label = value;
      else {
        std::cerr << "torvix-aliasing: unknown option " << option << "\n";
        return 2;
      }
    }
    if (!sine.empty()) return writeSine(sine, rates.front(), tones.front());
    if (!wav.empty()) return analyseFile(wav, tones.front(), label);
    return measureModule(modulePath, archiveDirectory, rates, tones);
  } catch (const std::exception& error) {
    std::cerr << "torvix-aliasing: " << error.what() << "\n";
    return 1;
  }
}
