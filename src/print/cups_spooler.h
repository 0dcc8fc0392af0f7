#pragma once

#include <QSize>
#include <QString>
#include <chrono>
#include <stop_token>
#include <string>

#include "print/spooler.h"

struct _http_s;
struct cups_dest_s;
struct _cups_dinfo_s;

namespace corvane {

// The spooler through libcups, on its own connection to the print server that
// the environment names (CUPS_SERVER, client.conf), read afresh for every job.
// No wait for the server lasts past the bound from the job's start, or past a
// stop request; a server that does not answer in time counts as not answering.
class CupsSpooler final : public Spooler {
public:
    CupsSpooler(std::stop_token stop, std::chrono::milliseconds bound);
    ~CupsSpooler() override;
    CupsSpooler(const CupsSpooler&) = delete;
    CupsSpooler& operator=(const CupsSpooler&) = delete;

    bool findDefaultDestination() override;
    QPageLayout defaultPaper() override;
    bool createJob(const QString& title) override;
    bool startDocument(const QString& title) override;
    bool writeDocument(const QByteArray& pdf) override;
    bool finishDocument() override;
    bool destinationPrints() override;
    void cancelJob() override;
    PrintResult problem() const override { return problem_; }

private:
    QSize chosenMediaSize() const;
    QSize defaultMediaSize();
    static int keepWaiting(_http_s* http, void* spooler);
    bool fail(PrintOutcome outcome);
    bool failWithoutDefault();
    struct DestinationState;
    DestinationState destinationState();
    int jobState();
    bool deviceAnswers(const std::string& device);
    bool waitASlice();

    std::stop_token stop_;
    std::chrono::steady_clock::time_point deadline_;
    bool gaveUp_ = false;
    _http_s* http_ = nullptr;
    cups_dest_s* dest_ = nullptr;
    _cups_dinfo_s* info_ = nullptr;
    int job_ = 0;
    bool documentOpen_ = false;
    PrintResult problem_;
};

}  // namespace corvane
