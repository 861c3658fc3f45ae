# The two commands a user needs; see README.md.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)

.PHONY: test demo setup

setup:
	@scripts/install-deps.sh
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD_DIR) -j $(JOBS)

test: setup
	@ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

demo: setup
	@scripts/demo.sh $(BUILD_DIR)
