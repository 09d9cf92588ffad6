# The two commands of the README: `make run` and `make test`.
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?=
ARGS ?=

.PHONY: run test deps configure build install clean sanitize fuzz

deps:
	bash scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j$(JOBS)

run: build
	bash scripts/run.sh $(BUILD) $(ARGS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS) --timeout 600

# The program, its desktop entry and icon into PREFIX (default /usr/local).
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

sanitize:
	$(MAKE) test BUILD=build-asan CMAKE_FLAGS="-DORVO_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug"

# The picture decoders' fuzz targets (clang), each run for 60 seconds.
fuzz: deps
	bash tests/fuzz/run.sh --seconds 60 --build-dir build-fuzz

clean:
	rm -rf $(BUILD)
