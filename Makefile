# The two commands a new user needs:
#   make demo   set up, build, run the main job
#   make test   set up, build, run every test
JOBS ?= $(shell nproc)
BUILD ?= build
FUZZ_SECONDS ?= 20

.PHONY: setup build demo test test-asan test-tsan fuzz bench bench-table ci clean

setup:
	@bash scripts/setup.sh

build: setup
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

demo: build
	@bash scripts/demo.sh $(BUILD)/bin

test: build
	@cd $(BUILD) && ctest -j $(JOBS) --output-on-failure --progress

# Same tests, built with AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: setup
	@cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZOV_SANITIZE=ON -DZOV_GUI=ON >/dev/null
	@cmake --build build-asan -j $(JOBS)
	@cd build-asan && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest -j $(JOBS) --output-on-failure --progress

# Same tests, built with ThreadSanitizer (not in CI: it doubles CI's time).
test-tsan: setup
	@cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZOV_TSAN=ON -DZOV_GUI=ON >/dev/null
	@cmake --build build-tsan -j $(JOBS)
	@cd build-tsan && TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$(CURDIR)/scripts/tsan.supp \
		ctest -j $(JOBS) --output-on-failure --progress

# Every libFuzzer target, a bounded time each, on its seed corpus.
fuzz: setup
	@CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZOV_FUZZ=ON >/dev/null
	@cmake --build build-fuzz -j $(JOBS)
	@bash scripts/fuzz.sh build-fuzz/fuzzers $(FUZZ_SECONDS)

bench: build
	@bash bench/run.sh $(BUILD)/bin

# A benchmark run that also rewrites the table of bench/README.md.
bench-table: build
	@bash bench/run.sh --table $(BUILD)/bin

ci: fuzz test-asan test

clean:
	rm -rf build build-asan build-fuzz
