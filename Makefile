# The two set-up commands: `make run` and `make test`. Both install what is missing first.
BUILD ?= build
JOBS ?= 2
SANITIZE ?= 0
CMAKE_FLAGS ?=

# make fuzz: each fuzz target for FUZZ_SECONDS (make test runs them for a few seconds each), growing
# its corpus under $(BUILD)/fuzz/runs/.
FUZZ_SECONDS ?= 120

.PHONY: run test build deps clean fuzz

deps:
	@scripts/install-deps

build: deps
	@cmake -S . -B $(BUILD) -DVARKEL_SANITIZE=$(if $(filter 1,$(SANITIZE)),ON,OFF) $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD) -j$(JOBS)

test: build
	@cd $(BUILD) && ctest -j$(JOBS) --output-on-failure --timeout 300

fuzz: build
	@cd $(BUILD) && VARKEL_FUZZ_SECONDS=$(FUZZ_SECONDS) VARKEL_FUZZ_RUNS=-1 VARKEL_FUZZ_KEEP=1 \
		ctest -j$(JOBS) -L fuzz --output-on-failure --timeout $$(($(FUZZ_SECONDS) + 300)); \
		status=$$?; cat fuzz/runs/*/summary.txt 2>/dev/null; exit $$status

run: build
	@scripts/run-demo $(BUILD)

# Three programs on one store for ten minutes (the test suite runs the same soak for a few seconds).
.PHONY: soak
soak: build
	@cd $(BUILD) && VARKEL_BINARY_DIR=$$PWD VARKEL_SOAK_SECONDS=$${VARKEL_SOAK_SECONDS:-600} ./bin/test_soak

clean:
	rm -rf $(BUILD)
