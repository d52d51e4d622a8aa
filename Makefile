# Thin wrappers; the scripts do the work and install what is missing.
.PHONY: demo test check dist bench

demo:
	scripts/demo.sh

test:
	scripts/test.sh

# The fast loop while working on the code: the native preset only, nothing installed.
check:
	cmake --preset native >/dev/null && cmake --build --preset native -j2 && ctest --preset native -j2

dist:
	scripts/dist.sh

bench:
	bench/run.sh
