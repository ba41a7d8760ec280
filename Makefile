# One command each: `make` builds, `make run` starts the program,
# `make test` runs every suite, `make package` builds the .deb. Each
# installs what is missing first.
BUILD ?= build
CMAKE_FLAGS ?=

.PHONY: all deps build run test package bench fuzz clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DREELMARKER_WERROR=ON $(CMAKE_FLAGS)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD)

run: build
	$(BUILD)/reelmarker

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2

# The Debian package, build/reelmarker_<version>_<arch>.deb.
package: build
	cmake --build $(BUILD) --target package

# By hand: figures for the notes, and a fuzzing session (FUZZ_SECONDS, default 600).
bench: build
	$(BUILD)/reelmarker-bench

fuzz:
	@scripts/install-deps --fuzz
	scripts/run-fuzzer $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD) build-fuzz
