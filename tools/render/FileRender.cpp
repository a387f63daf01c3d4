#include "render/FileRender.h"

#include <cstdio>
#include <filesystem>
#include <string>

#include "render/AudioFileReader.h"
#include "render/AudioFileWriter.h"
#include "render/EffectSetup.h"
#include "render/LevelMeter.h"
#include "render/NonFiniteSamples.h"
#include "render/PlotWriter.h"
#include "render/RenderError.h"
#include "render/RenderLoop.h"

namespace {

void checkSampleRate(const AudioFileReader& reader, const std::string& path) {
  if (reader.sampleRate() < RenderOptions::kLowestSampleRate ||
      reader.sampleRate() > RenderOptions::kHighestSampleRate) {
    throw RenderError("cannot render " + path + ": its sample rate of " +
                      std::to_string(reader.sampleRate()) + " Hz is outside " +
                      RenderOptions::sampleRateRangeText());
  }
}

// Reads the input, refusing it at the first block with a sample that is not
// finite: the rest of the file is only counted, for the message.
class CheckedInput {
 public:
  CheckedInput(AudioFileReader& reader, std::string path)
      : reader(reader), path(std::move(path)), nonFinite(reader.channels()) {}

  std::int64_t read(float* interleaved, std::int64_t count) {
    const std::int64_t frames = reader.read(interleaved, count);
    nonFinite.add(interleaved, frames);
    if (nonFinite.count() > 0) refuse(interleaved, count);
    framesRead += frames;
    return frames;
  }

  std::int64_t frames() const { return framesRead; }

 private:
  [[noreturn]] void refuse(float* scratch, std::int64_t count) {
    while (const std::int64_t frames = reader.read(scratch, count)) nonFinite.add(scratch, frames);
    throw RenderError("cannot render " + path + ": it holds " + nonFinite.description(reader.sampleRate()));
  }

  AudioFileReader& reader;
  std::string path;
  NonFiniteSamples nonFinite;
  std::int64_t framesRead = 0;
};

// The first channel of a render's input and output, kept for its plot; a
// stride of 0 keeps nothing.
struct FirstChannels {
  explicit FirstChannels(int stride) : stride(static_cast<std::size_t>(stride)) {}

  void keepInput(const float* interleaved, std::int64_t frames) { keep(input, interleaved, frames); }
  void keepOutput(const float* interleaved, std::int64_t frames) { keep(output, interleaved, frames); }

  std::vector<float> input;
  std::vector<float> output;

 private:
  void keep(std::vector<float>& samples, const float* interleaved, std::int64_t frames) const {
    if (stride == 0) return;
    for (std::int64_t frame = 0; frame < frames; ++frame) samples.push_back(interleaved[frame * stride]);
  }

  std::size_t stride;
};

std::string secondsText(std::int64_t frames, int sampleRate) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f s", static_cast<double>(frames) / sampleRate);
  return text;
}

std::string summaryOf(const FileJob& job, const AudioFileReader& reader, const RenderedLength& length,
                      const LevelMeter& meter) {
  return "wrote " + job.outputPath + ": " + std::to_string(length.frames) + " frames, " +
         std::to_string(reader.channels()) + (reader.channels() == 1 ? " channel" : " channels") + " at " +
         std::to_string(reader.sampleRate()) + " Hz (tail " +
         secondsText(length.tailFrames, reader.sampleRate()) + "), " + levelsText(meter);
}

std::vector<std::string> warningsOf(const FileJob& job, const RenderOptions& options,
                                    const AudioFileReader& reader, const AudioFileWriter& writer,
                                    const RenderedLength& length) {
  std::vector<std::string> warnings;
  if (!reader.truncation().empty()) {
    warnings.push_back(job.inputPath + " is truncated (" + reader.truncation() +
                       "); what it holds was rendered");
  }
  if (writer.clippedSamples() > 0) {
    warnings.push_back(job.outputPath + ": " + std::to_string(writer.clippedSamples()) +
                       " samples beyond full scale were clipped");
  }
  if (!length.decayed) {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%g", options.longestTail);
    warnings.push_back(job.outputPath + ": the sound had not decayed below -90 dBFS when the tail reached " +
                       seconds + " s (--tail); its end is faded out");
  }
  return warnings;
}

}  // namespace

void checkRenderOutput(const std::string& inputPath, const std::string& outputPath) {
  if (outputPath == "-" || inputPath == "-") {
    if (outputPath != "-") checkAudioOutputName(outputPath);
    return;
  }
  checkAudioOutputName(outputPath);
  std::error_code error;
  if (std::filesystem::equivalent(inputPath, outputPath, error)) {
    throw RenderError("cannot write " + outputPath + ": it is the input file");
  }
}

FileReport renderFile(const FileJob& job, const RenderOptions& options, EffectModule& module,
                      const FileProgress& progress) {
  AudioFileReader reader(job.inputPath);
  checkSampleRate(reader, job.inputPath);
  ChannelEffects effects = startChannelEffects(
      module, reader.channels(), static_cast<float>(reader.sampleRate()), options.blockSize, job.settings);
  AudioFileWriter writer(job.outputPath, reader.channels(), reader.sampleRate(), options.encoding);
  CheckedInput input(reader, job.inputPath);
  LevelMeter meter;
  FirstChannels plotted(job.plotPath.empty() ? 0 : reader.channels());
  RenderStreams streams{[&](float* block, std::int64_t count) {
                          const std::int64_t frames = input.read(block, count);
                          plotted.keepInput(block, frames);
                          return frames;
                        },
                        [&](const float* block, std::int64_t frames) {
                          writer.write(block, frames);
                          meter.add(block, frames * reader.channels());
                          plotted.keepOutput(block, frames);
                        },
                        [&](std::int64_t) {
                          if (progress) progress(input.frames(), reader.frames(), reader.sampleRate());
                        }};
  const RenderedLength length = renderThrough(
      effects, streams, TailRule::at(reader.sampleRate(), effects.reportedTail(), options.longestTail));
  writer.commit();
  if (!job.plotPath.empty()) {
    writeRenderPlot(job.plotPath,
                    {job.plotTitle, plotted.input, plotted.output, static_cast<double>(reader.sampleRate())});
  }
  return {summaryOf(job, reader, length, meter), warningsOf(job, options, reader, writer, length)};
}
