<?xml version="1.0" encoding="UTF-8"?>
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
<xsl:output method="xml" encoding="UTF-8"/>
<xsl:define name="content_type" value="text/xml"/>
<xsl:variable name="a" select="'{$a}'"/>
<xsl:variable name="b" select="'{$b}'"/>
<xsl:variable name="query" select="'{$request_params}'"/>
<xsl:template match="/"><pairs a="{$a}" b="{$b}" query="{$query}"/></xsl:template>
</xsl:stylesheet>
