#pragma once

// What the benchmarks read about their own process; one file per platform.
namespace huddlex::bench {

// Peak resident memory so far, in KiB.
long peakMemoryKb();

// Processor time used so far (user and system), in milliseconds.
double cpuMs();

} // namespace huddlex::bench
