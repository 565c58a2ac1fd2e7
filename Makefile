# Front door for the CMake build. Every target configures the build tree
# when it is missing, so each one works from a clean checkout.
SANITIZE ?= 0
ifeq ($(SANITIZE),1)
BUILD ?= build-sanitize
CMAKE_FLAGS += -DVELTRANE_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
else
BUILD ?= build
endif
JOBS ?= $(shell nproc)
PREFIX ?= $(CURDIR)/install

.PHONY: all build test demo bench install clean

all: build

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

build: $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

demo: build
	$(BUILD)/host/paystead demo

bench: build
	@set -e; for b in $(BUILD)/bench/bench_*; do echo "== $$b"; $$b --benchmark_repetitions=5 --benchmark_report_aggregates_only=true; done

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

clean:
	rm -rf build build-sanitize
