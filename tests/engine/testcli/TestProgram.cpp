// A program for the process built-ins' tests: runs its arguments as a list of actions.
//   out N       writes N bytes ('x') on stdout
//   text T      writes T on stdout
//   args        writes every argument after "args" on its own line, in brackets
//   stdin       writes "eof" when standard input is at its end at once, else "data"
//   sleep MS    sleeps
//   forever     waits for ever without writing
//   spawn       starts a child that keeps stdout open for 100 seconds, writes its pid, goes on
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

void Put(const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(1, text.data() + done, text.size() - done);
        if (n <= 0)
            std::_Exit(3);
        done += static_cast<std::size_t>(n);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string action = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : "0";
        if (action == "out") {
            const std::string block(1000, 'x');
            long count = std::atol(value);
            while (count > 0) {
                const long n = count < 1000 ? count : 1000;
                Put(block.substr(0, static_cast<std::size_t>(n)));
                count -= n;
            }
            ++i;
        } else if (action == "text") {
            Put(value);
            ++i;
        } else if (action == "args") {
            for (int j = i + 1; j < argc; ++j)
                Put(std::string("[") + argv[j] + "]\n");
            return 0;
        } else if (action == "stdin") {
            char byte = 0;
            Put(::read(0, &byte, 1) == 0 ? "eof" : "data");
        } else if (action == "sleep") {
            std::this_thread::sleep_for(std::chrono::milliseconds(std::atol(value)));
            ++i;
        } else if (action == "forever") {
            while (true)
                ::pause();
        } else if (action == "spawn") {
            const pid_t child = ::fork();
            if (child == 0) {
                std::this_thread::sleep_for(std::chrono::seconds(100));
                std::_Exit(0);
            }
            Put(std::to_string(child));
        }
    }
    return 0;
}
