# The two commands of the README: `make run` and `make test` (plus `make bench`).
# Each installs what is missing, configures and builds before it runs.

BUILD   ?= build
JOBS    ?= $(shell nproc)
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo Ninja || echo "Unix Makefiles")

.PHONY: all deps configure build run test test-sanitize bench clean

all: build

deps:
	./tools/setup-deps.sh

# Optimised as the RelWithDebInfo builds of development are (-O2, assertions off), so the
# tests run the same code, but without debug information, which took about a third of the
# compile time and most of the link time.
$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=Release \
	  "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG"

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: configure
	cmake --build $(BUILD) -j $(JOBS) --target configurator
	$(BUILD)/bin/configurator

test: build
	QT_QPA_PLATFORM=offscreen QT_ENABLE_HIGHDPI_SCALING=0 \
	  ctest --test-dir $(BUILD) -j $(JOBS) --output-on-failure --timeout 600

# The whole suite built and run under AddressSanitizer and UndefinedBehaviorSanitizer in its
# own build folder; leaks inside the system's font libraries are suppressed.
# The flags come from the CONFIGURATOR_SANITIZE option (CMakeLists.txt), which also tells the
# tests that address-space limits cannot apply.
SANITIZE_BUILD ?= build-sanitize

test-sanitize: deps
	cmake -S . -B $(SANITIZE_BUILD) -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCONFIGURATOR_SANITIZE=ON -DCONFIGURATOR_BENCH=OFF \
	  $(if $(shell command -v ccache),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
	cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tools/lsan.supp \
	UBSAN_OPTIONS=print_stacktrace=1 QT_QPA_PLATFORM=offscreen QT_ENABLE_HIGHDPI_SCALING=0 \
	  ctest --test-dir $(SANITIZE_BUILD) -j $(JOBS) --output-on-failure --timeout 1200

bench: configure
	cmake --build $(BUILD) -j $(JOBS) --target benchmarks
	@for b in $$(find $(BUILD)/bench -maxdepth 3 -type f -executable -name 'bench_*' | sort); do \
	  echo "== $$b"; QT_QPA_PLATFORM=offscreen QT_ENABLE_HIGHDPI_SCALING=0 $$b --benchmark_min_time=0.2 || exit 1; done

# The tree control's worker and position-cache tests under ThreadSanitizer, in their own build
# folder (not part of the normal test run).
TSAN_BUILD ?= build-tsan
.PHONY: tsan
tsan: deps
	cmake -S . -B $(TSAN_BUILD) -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_FLAGS=-fsanitize=thread -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread -DCONFIGURATOR_BENCH=OFF \
	  $(if $(shell command -v ccache),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
	cmake --build $(TSAN_BUILD) -j $(JOBS) --target vtree_worker_tests
	TSAN_OPTIONS=halt_on_error=1 QT_QPA_PLATFORM=offscreen QT_ENABLE_HIGHDPI_SCALING=0 \
	  $(TSAN_BUILD)/tests/vtree/vtree_worker_tests

clean:
	rm -rf $(BUILD)
