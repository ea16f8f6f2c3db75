# Front door. `make run` and `make test` each install what is missing, build, and go.
.PHONY: all deps build-release build-asan run test stage bench fuzz format clean

all: build-release

deps:
	@scripts/install-deps.sh

build-release: deps
	cmake --preset dev
	cmake --build --preset dev

build-asan: deps
	cmake --preset dev-asan
	cmake --build --preset dev-asan

# The working folder the program starts in: templates, schema pictures, plotting script,
# sample data. Stand-ins stay beside the program, and the launcher finds them there.
stage: build-release
	scripts/stage-workdir.sh build/release workdir

run: stage
	cd workdir && ../build/release/bin/tarvelin

test: build-asan
	ctest --preset dev-asan

bench: build-release
	cmake --build --preset dev --target benchmarks
	bench/run-all.sh build/release

# Fuzzing with libFuzzer under ASan and UBSan; FUZZ_SECONDS sets the time per target.
fuzz: deps
	cmake -S . -B build/fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DTARVELIN_FUZZ=ON -DTARVELIN_SANITIZE=ON -DTARVELIN_BUILD_TESTS=OFF
	cmake --build build/fuzz --target fuzz_targets
	scripts/fuzz.sh build/fuzz

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build workdir
