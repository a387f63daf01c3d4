#include "render/FileBatch.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <filesystem>
#include <map>
#include <new>
#include <optional>
#include <thread>

#include "render/BatchProgress.h"
#include "render/FileExtension.h"
#include "render/Interruption.h"
#include "render/RenderError.h"

namespace {

struct JobOutcome {
  std::optional<FileReport> report;
  std::string failure;
};

JobOutcome runJob(const FileJob& job, const RenderOptions& options, EffectModule& module,
                  BatchProgress& progress, std::size_t index) {
  JobOutcome outcome;
  try {
    checkRenderOutput(job.inputPath, job.outputPath);
    outcome.report = renderFile(job, options, module, [&](std::int64_t done, std::int64_t total, int rate) {
      progress.update(index, done, total, rate);
    });
  } catch (const std::bad_alloc&) {
    outcome.failure = "out of memory rendering " + job.inputPath;
  } catch (const std::exception& error) {
    outcome.failure = error.what();
  }
  progress.completeJob(index);
  return outcome;
}

std::size_t workerCount(std::size_t jobs) {
  const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
  return std::min(jobs, cores);
}

std::string outputExtension(const std::filesystem::path& input) {
  return lowerCaseExtension(input.string()) == ".flac" ? input.extension().string() : ".wav";
}

}  // namespace

int renderFiles(const std::vector<FileJob>& jobs, const RenderOptions& options, EffectModule& module,
                RenderConsole& console) {
  std::vector<JobOutcome> outcomes(jobs.size());
  BatchProgress progress(console, jobs.size());
  std::atomic<std::size_t> next{0};
  const auto work = [&] {
    for (std::size_t index = next++; index < jobs.size(); index = next++) {
      outcomes[index] = runJob(jobs[index], options, module, progress, index);
    }
  };
  std::vector<std::jthread> workers;
  for (std::size_t worker = 1; worker < workerCount(jobs.size()); ++worker) workers.emplace_back(work);
  work();
  workers.clear();
  progress.finish();
  if (interruptionRequested()) throw RenderError("interrupted");
  int failures = 0;
  for (const JobOutcome& outcome : outcomes) {
    if (outcome.report) {
      console.out << outcome.report->summary << '\n';
      for (const std::string& warning : outcome.report->warnings) {
        console.err << "torvix-render: warning: " << warning << '\n';
      }
    } else {
      console.err << "torvix-render: " << outcome.failure << '\n';
      ++failures;
    }
  }
  return failures;
}

std::vector<FileJob> batchJobs(const RenderOptions& options, const std::vector<BatchVariant>& variants) {
  std::vector<FileJob> jobs;
  std::map<std::string, std::string> inputOfOutput;
  for (const std::string& input : options.inputPaths) {
    for (const BatchVariant& variant : variants) {
      const std::filesystem::path stem = std::filesystem::path(options.outputDirectory) /
                                         (std::filesystem::path(input).stem().string() + variant.nameSuffix);
      const std::string output = stem.string() + outputExtension(input);
      const auto [previous, added] = inputOfOutput.emplace(output, input);
      if (!added) {
        throw RenderError("inputs " + previous->second + " and " + input + " would both be written to " +
                          output);
      }
      const std::string plot = variant.plotTitle.empty() ? "" : stem.string() + ".png";
      jobs.push_back({input, output, variant.settings, plot, variant.plotTitle});
    }
  }
  return jobs;
}
