# Thin wrappers; the scripts do the work and install what is missing.
.PHONY: demo test dist bench

demo:
	scripts/demo.sh

test:
	scripts/test.sh

dist:
	scripts/dist.sh

bench:
	bench/run.sh
