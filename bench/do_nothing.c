/* Starts and ends at once: what a bare Wine process start costs. Built for the same
   (GUI) subsystem as hiscores.exe, so both start the same way. */
int main(void) {
    return 0;
}
