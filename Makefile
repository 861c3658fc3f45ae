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

# libFuzzer targets (clang, ASan, UBSan) in their own build folder; each runs FUZZ_SECONDS
# on a scratch copy of its seed corpus, so the repository's corpus stays as it is. Inputs
# that crash are left in $(FUZZ_DIR)/artifacts/<target>/. The caches fontconfig never
# frees are not reported as leaks (.ci/lsan.supp).
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS = $(notdir $(wildcard fuzz/corpus/*))

fuzz-targets:
	@scripts/install-deps.sh scripts/packages.txt scripts/fuzz-packages.txt
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAMRIX_FUZZ=ON -DTAMRIX_BENCH=OFF >/dev/null
	@cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzz_all

fuzz: fuzz-targets
	@set -e; for target in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_DIR)/corpus/$$target $(FUZZ_DIR)/artifacts/$$target; \
	  echo "fuzz_$$target: $(FUZZ_SECONDS) s"; \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/.ci/lsan.supp \
	  $(FUZZ_DIR)/fuzz/fuzz_$$target -max_total_time=$(FUZZ_SECONDS) -timeout=10 -rss_limit_mb=2048 \
	    -print_final_stats=1 -artifact_prefix=$(FUZZ_DIR)/artifacts/$$target/ \
	    $(FUZZ_DIR)/corpus/$$target fuzz/corpus/$$target 2>&1 | tail -12; \
	done
