# Entry points: `make run` starts the program on the sample database of the
# build's own program folder, `make test` runs every test headless, `make
# bench` measures the program on data it makes, `make package` makes the
# Debian package. All install what is missing first; `make clean` removes the
# build folder with everything made and tried in it.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: run test bench build deps clean package

deps:
	@bash tools/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD)/dist && ./orvanta

test: build
	cmake --build $(BUILD) -j $(JOBS) --target orv_tests
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	cmake --build $(BUILD) -j $(JOBS) --target orvbench
	$(BUILD)/bench/orvbench

package: build
	@bash tools/install-deps.sh dpkg-dev file
	cmake --build $(BUILD) --target package

clean:
	rm -rf $(BUILD)
