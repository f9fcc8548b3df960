# The two set-up commands: `make run` and `make test`. Both install what is missing first.
PRESET ?= default
BUILD := build/$(PRESET)
ARGS ?=
JOBS ?= $(shell nproc)

.PHONY: deps build run test test-fuzz bench asan tsan clean

deps:
	@scripts/install-deps

build: deps
	@cmake --preset $(PRESET) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@$(BUILD)/apps/maps/maps $(ARGS)

# Every test: unit, integration and end-to-end (under a virtual X server), then the fuzz targets.
test: build
	@scripts/run-tests $(BUILD)
	@$(MAKE) --no-print-directory test-fuzz

test-fuzz: deps
	@if ! ls fuzz/*.cmake >/dev/null 2>&1; then echo "no fuzz targets yet"; exit 0; fi; \
	cmake --preset fuzz >/dev/null && cmake --build build/fuzz -j $(JOBS) && \
	cd build/fuzz && ctest --output-on-failure -j $(JOBS)


bench: build
	@scripts/run-benchmarks $(BUILD)

asan tsan: deps
	@cmake --preset $@ >/dev/null
	@cmake --build build/$@ -j $(JOBS)
	@scripts/run-tests build/$@

clean:
	rm -rf build
