// quintrel-tune: fits Master's evaluation to game results.
//
//   quintrel-tune play [--ms MS] [--threads T] [--size N] [--rule R] OPENINGS DATA
//     Master plays itself from every opening of the file (one "x,y x,y ..."
//     a line, black first) and appends to DATA, for every quiet position
//     after the opening, the result for the side to move and both sides'
//     evaluation features.
//   quintrel-tune games [--size N] [--rule R] GAMES DATA
//     Appends to DATA the samples of games played elsewhere: GAMES holds one
//     game a line, its stones in the openings format, the last stone a
//     five (pbrain-referee --record writes it), so that the evaluation
//     can be fitted on games against other engines.
//   quintrel-tune fit DATA
//     Fits the weights by logistic regression of the results on the
//     features, at the scale of the hand-set weights, and prints
//     them as the table to paste into src/master/Evaluation.h.

#include "master/Engine.h"
#include "master/Evaluation.h"
#include "pbrain-referee/Referee.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

using namespace quintrel::master;

namespace {

const char* const USAGE = "usage: quintrel-tune play [--ms MS] [--threads T] [--size N] [--rule R] OPENINGS DATA\n"
                          "       quintrel-tune games [--size N] [--rule R] GAMES DATA\n"
                          "       quintrel-tune fit DATA\n";

[[noreturn]] void fail(const std::string& why) {
    std::fprintf(stderr, "quintrel-tune: %s\n%s", why.c_str(), USAGE);
    std::exit(2);
}

struct Sample {
    double result; // for the side to move: 1 won, 0.5 drawn, 0 lost
    Features mover, waiter;
};

std::vector<std::vector<Point>> readOpenings(const std::string& path, int size) {
    std::string error;
    const auto lines = quintrel::referee::readOpenings(path, size, error);
    if (lines.empty()) fail(error);
    std::vector<std::vector<Point>> openings;
    for (const auto& line : lines) {
        auto& stones = openings.emplace_back();
        for (const auto& [x, y] : line) {
            // A position holds each point once; a repeated one is a broken record.
            if (std::find(stones.begin(), stones.end(), Point{x, y}) != stones.end())
                fail("a point played twice in " + path + ": " + std::to_string(x) + "," + std::to_string(y));
            stones.push_back(Point{x, y});
        }
    }
    return openings;
}

// A position is quiet when the search would evaluate it: no five to make or
// stop and no open four for the mover.
bool quiet(const Position& pos) {
    const int me = pos.toMove();
    return !pos.hasPattern(me, FIVE) && !pos.hasPattern(1 - me, FIVE) && !pos.hasPattern(me, F4);
}

Sample sampleOf(const Position& pos, double result) {
    Sample s{result, {}, {}};
    featuresOf(pos, pos.toMove(), s.mover);
    featuresOf(pos, 1 - pos.toMove(), s.waiter);
    return s;
}

// One game from `opening`; its quiet positions' samples, with the result.
std::vector<Sample> playGame(const std::vector<Point>& opening, int size, Rule rule, int ms) {
    Engine engines[2];
    Setup setup{size, size, rule, {}, 0};
    for (const Point& p : opening) {
        setup.stones.push_back(Stone{p, setup.toMove});
        setup.toMove = 1 - setup.toMove;
    }
    std::vector<Sample> samples;
    std::vector<int> movers;
    int winner = -1;
    const std::atomic<int> stop{0};
    Position pos;
    while (static_cast<int>(setup.stones.size()) < size * size) {
        pos.setUp(setup);
        if (quiet(pos)) {
            samples.push_back(sampleOf(pos, 0));
            movers.push_back(setup.toMove);
        }
        const Result r = engines[setup.toMove].search(setup, Limits{ms, 99, 1, 16, 1}, stop);
        if (r.move.x < 0) {
            winner = 1 - setup.toMove; // no legal move left: it has lost
            break;
        }
        // A proved result ends the game as the engine sees it: the rest is technique.
        if (r.proved) {
            winner = r.proved > 0 ? setup.toMove : 1 - setup.toMove;
            break;
        }
        const bool five = judgeMove(setup, r.move) == Verdict::WIN;
        setup.stones.push_back(Stone{r.move, setup.toMove});
        if (five) {
            winner = setup.toMove;
            break;
        }
        setup.toMove = 1 - setup.toMove;
    }
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i].result = winner < 0 ? 0.5 : winner == movers[i] ? 1.0 : 0.0;
    return samples;
}

struct Arguments {
    int ms = 50, threads = 2, size = 19;
    Rule rule = Rule::FREESTYLE;
    std::vector<std::string> files; // the input, then DATA
};

Arguments parse(int argc, char** argv) {
    Arguments a;
    for (int i = 2; i < argc; ++i) {
        const std::string word = argv[i];
        const auto number = [&] {
            if (++i >= argc) fail(word + " wants a number");
            return std::atoi(argv[i]);
        };
        if (word == "--ms") a.ms = number();
        else if (word == "--threads") a.threads = number();
        else if (word == "--size") a.size = number();
        else if (word == "--rule") {
            if (!ruleFromProtocol(number(), a.rule)) fail("--rule wants 0, 1 or 4");
        } else a.files.push_back(word);
    }
    if (a.files.size() != 2 || a.ms < 1 || a.threads < 1 || a.size < MIN_SIDE || a.size > MAX_SIDE)
        fail("bad arguments");
    return a;
}

void write(std::FILE* out, const Sample& s) {
    std::fprintf(out, "%.1f", s.result);
    for (int v : s.mover)
        std::fprintf(out, " %d", v);
    for (int v : s.waiter)
        std::fprintf(out, " %d", v);
    std::fputc('\n', out);
}

int play(int argc, char** argv) {
    const auto [ms, threads, size, rule, files] = parse(argc, argv);
    const auto openings = readOpenings(files[0], size);
    std::FILE* out = std::fopen(files[1].c_str(), "a");
    if (!out) fail("cannot write " + files[1]);
    std::atomic<std::size_t> next{0};
    std::mutex lock;
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t)
        pool.emplace_back([&] {
            for (std::size_t g; (g = next++) < openings.size();) {
                const auto samples = playGame(openings[g], size, rule, ms);
                const std::lock_guard<std::mutex> hold(lock);
                for (const Sample& s : samples)
                    write(out, s);
                std::fprintf(stderr, "game %zu: %zu positions\n", g + 1, samples.size());
            }
        });
    for (auto& t : pool)
        t.join();
    return std::fclose(out) == 0 ? 0 : 1;
}

// The last stones of a game are the winner's technique, not judgement.
constexpr int TECHNIQUE_PLIES = 4;

int games(int argc, char** argv) {
    const auto [ms, threads, size, rule, files] = parse(argc, argv);
    const auto played = readOpenings(files[0], size);
    std::FILE* out = std::fopen(files[1].c_str(), "a");
    if (!out) fail("cannot write " + files[1]);
    Position pos;
    for (const auto& stones : played) {
        const int count = static_cast<int>(stones.size());
        const int winner = (count - 1) % 2; // the five's side
        Setup setup{size, size, rule, {}, 0};
        for (int n = 0; n + TECHNIQUE_PLIES < count; ++n) {
            if (n >= 3) { // fewer stones tell nothing of the evaluation
                pos.setUp(setup);
                if (quiet(pos)) write(out, sampleOf(pos, setup.toMove == winner ? 1.0 : 0.0));
            }
            setup.stones.push_back(Stone{stones[static_cast<std::size_t>(n)], setup.toMove});
            setup.toMove = 1 - setup.toMove;
        }
    }
    return std::fclose(out) == 0 ? 0 : 1;
}

// The weights as one vector: the mover's, the waiter's, the tempo.
constexpr int PARAMS = 2 * FEATURES + 1;
using Vector = std::vector<double>;

double valueOf(const Vector& w, const Sample& s) {
    double v = w[PARAMS - 1];
    for (int i = 0; i < FEATURES; ++i)
        v += w[i] * s.mover[i] - w[FEATURES + i] * s.waiter[i];
    return v;
}

// The mean log loss of the results against the logistic of value / scale.
double loss(const Vector& w, double scale, const std::vector<Sample>& samples, Vector* gradient) {
    double sum = 0;
    if (gradient) gradient->assign(PARAMS, 0.0);
    for (const Sample& s : samples) {
        const double p = 1 / (1 + std::exp(-valueOf(w, s) / scale));
        const double q = std::min(std::max(p, 1e-9), 1 - 1e-9);
        sum -= s.result * std::log(q) + (1 - s.result) * std::log(1 - q);
        if (!gradient) continue;
        const double g = (p - s.result) / scale;
        for (int i = 0; i < FEATURES; ++i) {
            (*gradient)[i] += g * s.mover[i];
            (*gradient)[FEATURES + i] -= g * s.waiter[i];
        }
        (*gradient)[PARAMS - 1] += g;
    }
    const double n = static_cast<double>(samples.size());
    if (gradient)
        for (double& g : *gradient)
            g /= n;
    return sum / n;
}

int fit(int argc, char** argv) {
    if (argc != 3) fail("fit wants one data file");
    std::ifstream in(argv[2]);
    if (!in) fail(std::string("cannot read ") + argv[2]);
    std::vector<Sample> train, check;
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        Sample s{};
        words >> s.result;
        for (int& v : s.mover)
            words >> v;
        for (int& v : s.waiter)
            words >> v;
        if (!words) fail("a line that is not a sample: " + line);
        // Every tenth sample is held out, to see that the fit is not to noise.
        ((train.size() + check.size()) % 10 == 9 ? check : train).push_back(s);
    }
    if (train.empty()) fail("no samples");
    Vector w(PARAMS);
    for (int i = 0; i < FEATURES; ++i) {
        w[i] = HAND_WEIGHTS.mover[i];
        w[FEATURES + i] = HAND_WEIGHTS.waiter[i];
    }
    w[PARAMS - 1] = HAND_WEIGHTS.tempo;
    // The scale that best fits the hand-set weights keeps the fitted ones in
    // the units the engine's margins and windows were set in.
    double scale = 1;
    for (double k = 10, best = 1e9; k <= 2000; k *= 1.05)
        if (const double l = loss(w, k, train, nullptr); l < best) {
            best = l;
            scale = k;
        }
    std::printf("%zu samples (%zu held out); scale %.0f\n", train.size(), check.size(), scale);
    std::printf("before: loss %.5f, held out %.5f\n", loss(w, scale, train, nullptr), loss(w, scale, check, nullptr));
    // Adam on the mean log loss.
    Vector m(PARAMS, 0), v(PARAMS, 0), g;
    const double rate = 0.5, b1 = 0.9, b2 = 0.999;
    for (int step = 1; step <= 3000; ++step) {
        loss(w, scale, train, &g);
        for (int i = 0; i < PARAMS; ++i) {
            m[i] = b1 * m[i] + (1 - b1) * g[i];
            v[i] = b2 * v[i] + (1 - b2) * g[i] * g[i];
            const double mh = m[i] / (1 - std::pow(b1, step)), vh = v[i] / (1 - std::pow(b2, step));
            w[i] -= rate * mh / (std::sqrt(vh) + 1e-12);
            // A chance more for a side is never worth less to it: a negative
            // weight would only be the fit trading one feature for another.
            if (i < PARAMS - 1) w[i] = std::max(w[i], 0.0);
        }
        if (step % 500 == 0)
            std::printf("step %d: loss %.5f, held out %.5f\n", step, loss(w, scale, train, nullptr),
                        loss(w, scale, check, nullptr));
    }
    const auto row = [&](int from) {
        std::string s;
        for (int i = 0; i < FEATURES; ++i)
            s += (i ? ", " : "") + std::to_string(static_cast<int>(std::lround(w[from + i])));
        return s;
    };
    std::printf("constexpr Weights FITTED_WEIGHTS = {{%s},\n                                    {%s},\n                                    %ld};\n",
                row(0).c_str(), row(FEATURES).c_str(), std::lround(w[PARAMS - 1]));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "play") return play(argc, argv);
    if (command == "games") return games(argc, argv);
    if (command == "fit") return fit(argc, argv);
    fail("play, games or fit?");
}
