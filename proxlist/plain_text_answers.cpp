#include "plain_text_answers.h"

#include "output.h"

namespace vldr {

void writeMissingQueryAnswer()
{
    writePlainTextHeader();
    writeLine("This CGI program must be passed a query string containing either an \"ID=###00\" clause,");
    writeLine("or \"X=###\", \"Y=###\", and \"Z=###\" clauses,");
    writeLine("or clauses for min. and max. RA and Dec components.");
}

void writeRefusalAnswer(const char* message)
{
    writePlainTextHeader();
    writeLine(message);
}

void writeFailedConnectionAnswer(const DatabaseSession& session)
{
    writePlainTextHeader();
    writeFormatted("SQLConnect() failed!!\n");
    writeConnectionDiagnostic(session);
}

}  // namespace vldr
