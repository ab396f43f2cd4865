// The number of processors this process may run on.
#pragma once

// The processors in this process's affinity mask (sched_getaffinity: what
// taskset, cgroups' cpusets and container limits leave it), at least 1.
int UsableCores();
