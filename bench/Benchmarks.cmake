# One vellmark_benchmark(name sources...) line per benchmark.
