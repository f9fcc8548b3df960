# The two set-up commands: `make run` and `make test`. Both install what is missing first.
PRESET ?= default
BUILD := build/$(PRESET)
ARGS ?=
JOBS ?= $(shell nproc)

.PHONY: deps build run test test-threads test-fuzz format-check bench asan tsan clean

deps:
	@scripts/install-deps

build: deps
	@cmake --preset $(PRESET) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

# Builds only the app, not the tests and benchmarks.
run: deps
	@cmake --preset $(PRESET) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS) --target maps
	@$(BUILD)/apps/maps/maps $(ARGS)

# Every test: the sources' format; unit, integration and end-to-end tests (under a virtual X
# server); the same under AddressSanitizer and UndefinedBehaviorSanitizer; the programs that run
# threads under ThreadSanitizer; then the fuzz targets.
test: build
	@$(MAKE) --no-print-directory format-check
	@scripts/run-tests $(BUILD)
	@$(MAKE) --no-print-directory asan
	@$(MAKE) --no-print-directory test-threads
	@$(MAKE) --no-print-directory test-fuzz

# The test programs whose code runs threads (channels, request threads, tile workers, location
# requests, document processes, the desktop settings watch, the pool that draws pictures in bands,
# the app's window loop with its workers), again under ThreadSanitizer. Optimised, as the
# sanitizer's own guide advises: at -O0 the pixel tests take minutes under it.
THREAD_TESTS := base_unit_tests maps_net_integration_tests maps_tiles_integration_tests \
	maps_tiles_unit_tests maps_location_integration_tests zarn_ui_doc_integration_tests \
	zarn_ui_launch_integration_tests zarn_ui_launch_e2e_tests zarn_ui_core_unit_tests \
	maps_app_unit_tests maps_app_integration_tests maps_app_e2e_tests
test-threads: deps
	@cmake --preset tsan >/dev/null
	@cmake --build build/tsan -j $(JOBS) --target $(THREAD_TESTS) maps  # the binary: its end-to-end tests run it
	@scripts/run-thread-tests build/tsan $(THREAD_TESTS)

# clang-format's verdict on every C++ source (.clang-format); nothing is changed.
format-check: deps
	@scripts/check-format

test-fuzz: deps
	@if ! ls fuzz/*.cmake >/dev/null 2>&1; then echo "no fuzz targets yet"; exit 0; fi; \
	cmake --preset fuzz >/dev/null && cmake --build build/fuzz -j $(JOBS) && \
	cd build/fuzz && ctest --output-on-failure -j $(JOBS)


# The benchmarks measure the Release build (build/release).
bench: deps
	@cmake --preset release >/dev/null
	@cmake --build build/release -j $(JOBS)
	@scripts/run-benchmarks build/release

# The whole suite under a sanitizer. Leaks inside system libraries are suppressed by library name
# (scripts/lsan.supp); the GL libraries SDL unloads when a window closes are kept loaded in the
# sanitizer build, so that their leftovers stay nameable.
asan tsan: deps
	@cmake --preset $@ >/dev/null
	@cmake --build build/$@ -j $(JOBS)
	@LSAN_OPTIONS="suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0" \
		TSAN_OPTIONS="suppressions=$(CURDIR)/scripts/tsan.supp" scripts/run-tests build/$@

clean:
	rm -rf build
