// CPU time spent by the calling thread, in seconds: what a benchmark charges
// to the code it runs, unaffected by other processes sharing the machine.
#pragma once

double threadCpuSeconds();
