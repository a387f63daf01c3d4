// How output samples are stored in the file.
#pragma once

enum class SampleEncoding { float32, pcm16, pcm24 };
