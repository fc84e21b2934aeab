#include "benchmain.h"
CORVEX_BENCHMARK_MAIN(true)
