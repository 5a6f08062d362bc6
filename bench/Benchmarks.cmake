# One vellmark_benchmark(name sources...) line per benchmark.
vellmark_benchmark(bench_container ContainerBench.cpp)
vellmark_benchmark(bench_search_scan SearchScanBench.cpp)
vellmark_benchmark(bench_http_download HttpDownloadBench.cpp)
