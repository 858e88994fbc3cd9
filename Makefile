# Quick start: `make run` shows the reference host with the plug-in, `make test` runs every test.
PRESET ?= default
BUILD_DIR := build
JOBS ?= $(shell nproc)

.PHONY: run test demo deps build fuzz fuzz-long asan bench package format clean

deps:
	@scripts/install-deps.sh

# A build folder configured with another preset is configured afresh (its cache would keep the
# other preset's options).
build: deps
	@if [ -f $(BUILD_DIR)/build.ninja ] && [ "$$(cat $(BUILD_DIR)/.preset 2>/dev/null)" != "$(PRESET)" ]; then \
	    echo "build: configured with another preset, configuring for $(PRESET)"; \
	    rm -f $(BUILD_DIR)/CMakeCache.txt $(BUILD_DIR)/build.ninja; \
	fi
	@[ -f $(BUILD_DIR)/build.ninja ] || { cmake --preset $(PRESET) && echo $(PRESET) > $(BUILD_DIR)/.preset; }
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	    QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bin/module-design-host --screenshot $(BUILD_DIR)/run/host.png; \
	else \
	    $(BUILD_DIR)/bin/module-design-host; \
	fi

# The whole design cycle worked through on the first shipped virtual module (offscreen without a
# display: a screenshot of the finished design in build/run/demo.png).
DEMO_MODULE ?= $(firstword $(sort $(wildcard data/VirtualModules/*.json)))
demo: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	    QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bin/module-design-host --demo $(DEMO_MODULE) --screenshot $(BUILD_DIR)/run/demo.png; \
	else \
	    $(BUILD_DIR)/bin/module-design-host --demo $(DEMO_MODULE); \
	fi

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	@$(MAKE) --no-print-directory fuzz

# libFuzzer targets (clang, ASan + UBSan), each run for a short bounded time on its seed corpus.
fuzz: deps
	@[ -f build-fuzz/build.ninja ] || cmake --preset fuzz
	cmake --build build-fuzz -j $(JOBS)
	@if ls tests/fuzz/*Fuzzer.cpp >/dev/null 2>&1; then cd build-fuzz && ctest --output-on-failure -j $(JOBS); fi

# Every fuzz target for MINUTES minutes each, two at a time; what they find that adds coverage
# is merged into the seed corpora in the repository.
MINUTES ?= 15
fuzz-long: deps
	@[ -f build-fuzz/build.ninja ] || cmake --preset fuzz
	cmake --build build-fuzz -j $(JOBS)
	@scripts/fuzz-long.sh $(MINUTES)

# The whole test suite under AddressSanitizer, UndefinedBehaviorSanitizer and the standard
# library's assertions (Debug at -O1, no benchmarks).
asan: deps
	@[ -f build-asan/build.ninja ] || cmake --preset asan
	cmake --build build-asan -j $(JOBS)
	cd build-asan && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
	    LSAN_OPTIONS=suppressions=$(CURDIR)/tests/asan/lsan.supp:print_suppressions=0 \
	    UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

# The Debian package (build/module-design_<version>_<arch>.deb).
package: build
	cd $(BUILD_DIR) && cpack -G DEB

bench: build
	@for b in $(BUILD_DIR)/bench/*; do [ -x "$$b" ] && "$$b" --benchmark_min_time=0.2 || true; done

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR) build-fuzz build-asan
