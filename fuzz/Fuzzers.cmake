# One vellmark_fuzzer(name sources...) line per fuzz target.
vellmark_fuzzer(container_fuzzer ContainerFuzzer.cpp)
vellmark_fuzzer(http_response_fuzzer HttpResponseFuzzer.cpp)
vellmark_fuzzer(page_scan_fuzzer PageScanFuzzer.cpp)
