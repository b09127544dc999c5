# Three entry points: `make run` starts the program on the sample database,
# `make test` runs every test headless, `make bench` measures the program on
# data it makes. All install what is missing first.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: run test bench build deps clean

deps:
	@bash tools/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD)/dist && ./orvanta

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	$(BUILD)/bench/orvbench

clean:
	rm -rf $(BUILD)
