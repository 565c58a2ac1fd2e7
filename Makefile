# Front door for the CMake build. Every target configures the build tree
# when it is missing, so each one works from a clean checkout.
#
#   CLANG=1 (or CXX=clang++)  build with Clang in build-clang
#   SANITIZE=1                AddressSanitizer and UBSan in build[-clang]-sanitize
#   make fuzz                 the libFuzzer targets, built with Clang in build-fuzz,
#                             each run FUZZ_SECONDS (default 20)
#   END_TO_END=0              leave out the browser walk-through and the install test
#   BENCH=0                   leave out the benchmarks
#
# Each target first has tools/needs install the Debian packages it uses.
SANITIZE ?= 0
CLANG ?= 0
END_TO_END ?= 1
BENCH ?= 1
ifneq ($(findstring clang,$(CXX)),)
CLANG := 1
CLANG_CXX ?= $(CXX)
endif
CLANG_CXX ?= clang++

NEEDS_TEST := build test postgres
ifeq ($(CLANG),1)
CMAKE_FLAGS += -DCMAKE_CXX_COMPILER=$(CLANG_CXX)
COMPILER_SUFFIX := -clang
NEEDS_TEST += clang
endif
ifeq ($(END_TO_END),1)
NEEDS_TEST += browser
else
CMAKE_FLAGS += -DVELTRANE_END_TO_END=OFF
endif
ifeq ($(BENCH),0)
CMAKE_FLAGS += -DVELTRANE_BENCH=OFF
endif
ifeq ($(SANITIZE),1)
BUILD ?= build$(COMPILER_SUFFIX)-sanitize
CMAKE_FLAGS += -DVELTRANE_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
else
BUILD ?= build$(COMPILER_SUFFIX)
endif
JOBS ?= $(shell nproc)
PREFIX ?= $(CURDIR)/install

FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 20

.PHONY: all build test demo bench install fuzz-build fuzz clean needs-build needs-test needs-fuzz

all: build

needs-build:
	tools/needs build $(if $(filter 1,$(CLANG)),clang)

needs-test:
	tools/needs $(NEEDS_TEST)

$(BUILD)/build.ninja: | needs-build
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

# A tree first configured by `make demo`, before GoogleTest was there, is
# configured again once to take the tests in.
$(BUILD)/tests/common/CTestTestfile.cmake: | $(BUILD)/build.ninja needs-test
	cmake -S . -B $(BUILD)

build: $(BUILD)/tests/common/CTestTestfile.cmake
	cmake --build $(BUILD) -j $(JOBS)

# The browser walk-through's packages come from package-lock.json, once.
BROWSER_PACKAGES := tests/browser/node_modules

test: build $(if $(filter 1,$(END_TO_END)),$(BROWSER_PACKAGES))
	cd $(BUILD) && ctest --output-on-failure --no-tests=error -j $(JOBS)

$(BROWSER_PACKAGES):
	npm ci --prefix tests/browser --no-audit --no-fund

# The demo needs the program only.
demo: $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target paystead
	$(BUILD)/host/paystead demo

bench: build
	@set -e; for b in $(BUILD)/bench/bench_*; do echo "== $$b"; $$b --benchmark_repetitions=5 --benchmark_report_aggregates_only=true; done

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# The fuzzing build instruments everything and builds only the fuzz programs.
needs-fuzz:
	tools/needs build clang

$(FUZZ_BUILD)/build.ninja: | needs-fuzz
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=$(CLANG_CXX) -DVELTRANE_FUZZ=ON \
	  -DBUILD_TESTING=OFF -DVELTRANE_BENCH=OFF

fuzz-build: $(FUZZ_BUILD)/build.ninja
	cmake --build $(FUZZ_BUILD) --target fuzzers -j $(JOBS)

fuzz: fuzz-build
	fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

clean:
	rm -rf build build-sanitize build-clang build-clang-sanitize $(FUZZ_BUILD)
