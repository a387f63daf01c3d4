// The lock around FFTW's planner.
#pragma once

#include <mutex>

// FFTW's planner shares its tables between all plans: making or destroying
// plans on two threads at once corrupts them (a batch analyses and plots its
// files side by side). Only running a plan may happen in parallel, so every
// plan is made and destroyed with this lock held.
std::mutex& fftwPlannerLock();
