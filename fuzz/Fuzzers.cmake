# One vellmark_fuzzer(name sources...) line per fuzz target.
