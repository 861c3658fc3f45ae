# The two commands a user needs; see README.md.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)

.PHONY: test demo setup fuzz fuzz-targets

setup:
	@scripts/install-deps.sh
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD_DIR) -j $(JOBS)

test: setup
	@ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

demo: setup
	@scripts/demo.sh $(BUILD_DIR)

# libFuzzer targets (clang, ASan, UBSan) in their own build folder; `make fuzz` runs each
# for FUZZ_SECONDS, FUZZ_PARALLEL of them at a time, on a scratch corpus in $(FUZZ_DIR)
# that grows from run to run (scripts/fuzz-target.sh), and prints per target its speed and
# the coverage it started from and reached. Inputs that crash are left in
# $(FUZZ_DIR)/artifacts/<target>/. The caches fontconfig never frees are not reported as
# leaks (.ci/lsan.supp).
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 600
FUZZ_PARALLEL ?= 4
FUZZ_TARGETS = $(notdir $(wildcard fuzz/corpus/*))

fuzz-targets:
	@scripts/install-deps.sh scripts/packages.txt scripts/fuzz-packages.txt
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAMRIX_FUZZ=ON -DTAMRIX_BENCH=OFF >/dev/null
	@cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzz_all

fuzz: fuzz-targets
	@printf '%s\n' $(FUZZ_TARGETS) | \
	  xargs -P $(FUZZ_PARALLEL) -I{} scripts/fuzz-target.sh $(FUZZ_DIR) {} $(FUZZ_SECONDS)
